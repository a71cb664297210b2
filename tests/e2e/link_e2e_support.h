#pragma once
// Helpers shared by the link's end-to-end tests.

#include "e2e_fixture.h"

#include <QByteArray>
#include <vector>

inline QByteArray wire(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

inline const QStringList kUnknownLabels{"HW type:unknown", "HW version:unknown", "FW version:unknown"};
inline const QStringList kNoEscLabels{"HW type: unknown", "HW version: unknown", "FW version: unknown"};
