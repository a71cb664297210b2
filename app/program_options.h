#pragma once
// The command line of zelt-esc: --help and --version, answered without a
// window, so they work where there is no display (a terminal session, the
// build making the manual page); --log FILE, the link trace into a file;
// --lang CODE, the window's language instead of the system's.

#include <QString>

class QCommandLineParser;

// True when the arguments ask for the help or the version text.
bool asks_help_or_version(int argc, char** argv);

// Fills the parser with the program's description and options.
void describe_program(QCommandLineParser& parser);

// The file named by --log, empty without the option.
QString log_file_option(const QCommandLineParser& parser);
// The language code given with --lang, empty without the option.
QString language_option(const QCommandLineParser& parser);
