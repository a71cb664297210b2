#pragma once
// A station's plan from what its user chose (on the command line or in the
// station's window), the image and the setup file checked whole before any
// port opens.

#include "station/station_plan.h"

#include <QStringList>
#include <optional>

namespace station {

struct Choices {
    QStringList ports;      // device paths
    bool firmware = false;  // with no image: the image the window would pick
    QString image;
    QString setup;  // empty: no settings written
    std::optional<SpinCheck> spin;
    int units = 0;
    QString stationName;  // empty: the host's name
};

// The plan; none when the image or the setup file cannot be used, each reason
// in problems ("...; nothing was sent").
std::optional<Plan> make_plan(const Choices& choices, const QString& programDir, QStringList* problems);

}  // namespace station
