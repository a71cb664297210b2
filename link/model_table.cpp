#include "link/model_table.h"

#include <QCoreApplication>
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
    out.type = QString::fromLatin1(kLabelsIdentified.type).arg(label);
    out.hwVersion = QString::fromLatin1(kLabelsIdentified.hwVersion).arg(id.mid(2, 1) + u'.' + id[3]);
    out.fwVersion = QString::fromLatin1(kLabelsIdentified.fwVersion).arg(id.mid(4, 1) + u'.' + id[5]);
    return out;
}

QString shown_esc_label(const QString& label)
{
    const auto shown = [](const char* text) { return QCoreApplication::translate("EscLabels", text); };
    for (const EscLabelTexts& fixed : {kLabelsDesign, kLabelsNoEsc, kLabelsUnknown})
        for (const char* text : {fixed.type, fixed.hwVersion, fixed.fwVersion})
            if (label == QLatin1String(text))
                return shown(text);
    for (const char* form :
         {kLabelsIdentified.type, kLabelsIdentified.hwVersion, kLabelsIdentified.fwVersion}) {
        const QLatin1String head = QLatin1String(form).chopped(2);  // the text before "%1"
        if (label.startsWith(head))
            return shown(form).arg(label.mid(head.size()));
    }
    return label;
}
