#include "link/model_table.h"

#include <array>

namespace {

constexpr std::array<EscModel, 15> kModels{{
    {"01", "ESC_T01", 1},
    {"02", "ESC_T02", 1},
    {"03", "ESC_T03", 1},
    {"04", "ESC_T04", 2},
    {"05", "ESC_T05", 2},
    {"06", "ESC_T06", 2},
    {"07", "ESC_T07", 3},
    {"08", "ESC_T08", 4},
    {"09", "ESC_T09", 4},
    {"0A", "ESC_T10", 4},
    {"0B", "ESC_T11", 4},
    {"0C", "ESC_T12", 5},
    {"0D", "ESC_T13", 5},
    {"0E", "ESC_T14", 6},
    {"0F", "ESC_T15", 6},
}};

}  // namespace

std::optional<EscModel> find_model(const QString& typeCode)
{
    for (const EscModel& m : kModels) {
        if (typeCode == QLatin1String(m.typeCode))
            return m;
    }
    return std::nullopt;
}

Identification decode_identification(const QString& reply)
{
    const QString id = reply.mid(2, 6);
    Identification out;
    out.model = find_model(id.left(2));
    const QString label = out.model ? QString::fromLatin1(out.model->label) : QString();
    out.type = QStringLiteral("HW type:") + label;
    out.hwVersion = QStringLiteral("HW version:V") + id[2] + u'.' + id[3];
    out.fwVersion = QStringLiteral("FW version:V") + id[4] + u'.' + id[5];
    return out;
}
