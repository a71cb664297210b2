#pragma once
// A setup file given to `write` is checked whole before the port opens. The
// window reads a file it cannot read, a missing key and a value that names no
// item as fallbacks or empty lists, without a word; written to an ESC unseen,
// those would be settings nobody chose.

#include <QString>

namespace cli {

// True when every setting the file holds can be written as it stands;
// otherwise each reason is on stderr.
bool setup_file_usable(const QString& path);

}  // namespace cli
