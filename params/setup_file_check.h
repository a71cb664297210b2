#pragma once
// A setup file that is to be written to ESCs unseen is checked whole first.
// The window reads a file it cannot read, a missing key and a value that
// names no item as fallbacks or empty lists, without a word; written to an
// ESC, those would be settings nobody chose.

#include <QStringList>

// Why the file cannot be written as it stands, a sentence each; empty when
// every setting it holds can.
QStringList setup_file_problems(const QString& path);
