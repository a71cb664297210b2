#pragma once
// The eight settings as text on the command line: "caption=item" lines, as
// `read` prints them and `write` takes them. A setting is named by its list's
// caption or by its number 1 to 8 in list order, an item by its text (the
// default's star may be left out) or by its index from 0, the value setup
// files hold. Names match without regard to case.

#include "params/parameter_set.h"

#include <QString>
#include <optional>

namespace cli {

struct SettingAssignment {
    int pos;    // frame order, 0 to 7
    int index;  // item index
};

// Parses one "setting=item"; on failure nothing, with the reason in *error.
std::optional<SettingAssignment> parse_assignment(const QString& text, QString* error);

// "Brake Mode=Low brake"; a list without a selection prints as "Brake Mode=",
// an ESC's byte that is none of the items as "Brake Mode=9 (not a listed item)".
QString setting_line(int pos, int index);
QString item_text(int pos, int index);  // empty for no selection and for a byte that is no item

}  // namespace cli
