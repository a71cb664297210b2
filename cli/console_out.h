#pragma once
// Lines on standard output (results, for scripts) and on standard error
// (boxes, progress, reasons), each written out at once.

#include <QString>

namespace cli {

void print_out(const QString& line);
void print_err(const QString& line);

}  // namespace cli
