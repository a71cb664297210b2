#pragma once
// The ESC models: type code of the identification reply, model label and
// firmware group, and the texts of the three ESC labels. The label texts
// differ on purpose in a blank after the colon and in case: the search tells
// its outcomes apart by the firmware label's text and the firmware update
// reads the version from its last three characters. The window shows them
// translated; the link compares them as written.

#include <QString>
#include <optional>

struct EscModel {
    const char* typeCode;  // two upper-case hex characters
    const char* label;
    int group;
};

// The model with this type code, if it is listed.
std::optional<EscModel> find_model(const QString& typeCode);

struct EscLabelTexts {
    const char* type;
    const char* hwVersion;
    const char* fwVersion;
};

// The captions before any search or identification.
inline constexpr EscLabelTexts kLabelsDesign{QT_TRANSLATE_NOOP("EscLabels", "HW Type: Unknown"),
                                             QT_TRANSLATE_NOOP("EscLabels", "HW version: Unknown"),
                                             QT_TRANSLATE_NOOP("EscLabels", "FW version: Unknown")};
// A search found the card but no ESC.
inline constexpr EscLabelTexts kLabelsNoEsc{QT_TRANSLATE_NOOP("EscLabels", "HW type: unknown"),
                                            QT_TRANSLATE_NOOP("EscLabels", "HW version: unknown"),
                                            QT_TRANSLATE_NOOP("EscLabels", "FW version: unknown")};
// No card found by a search; also the ESC status from the card.
inline constexpr EscLabelTexts kLabelsUnknown{QT_TRANSLATE_NOOP("EscLabels", "HW type:unknown"),
                                              QT_TRANSLATE_NOOP("EscLabels", "HW version:unknown"),
                                              QT_TRANSLATE_NOOP("EscLabels", "FW version:unknown")};

// An identified ESC: the model label and the versions follow a fixed part,
// which alone is translated.
inline constexpr EscLabelTexts kLabelsIdentified{QT_TRANSLATE_NOOP("EscLabels", "HW type:%1"),
                                                 QT_TRANSLATE_NOOP("EscLabels", "HW version:V%1"),
                                                 QT_TRANSLATE_NOOP("EscLabels", "FW version:V%1")};

// A label text in the user's language where it has a translation; the model
// label or version of an identified ESC stays as the reply gave it.
QString shown_esc_label(const QString& label);

// An identification reply (8 characters of hex text) decoded for display.
// The first byte is not looked at; the versions show digit by digit as the
// hex characters themselves. An unlisted type code gives an empty model label.
struct Identification {
    std::optional<EscModel> model;
    QString type, hwVersion, fwVersion;  // the three label texts
};
Identification decode_identification(const QString& reply);
