#include "app/program_options.h"

#include <QCommandLineParser>

#include <cstring>

namespace {
const QString kLogOption = QStringLiteral("log");
const QString kLanguageOption = QStringLiteral("lang");
}

bool asks_help_or_version(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(a, option) == 0)
                return true;
    }
    return false;
}

void describe_program(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Configures brushless-motor speed controllers (ESCs) through a setting card on a serial port "
        "(19200 baud, 8N1): finds the card and identifies the ESC, reads, writes and restores its "
        "settings, saves them to setup files, updates its firmware and runs a speed test.\n"
        "\n"
        "Files:\n"
        "  zelt.ini   the port and the settings, written when the window closes: beside the program\n"
        "             when it runs from a folder of its own that it may write, else (an installed\n"
        "             copy) $XDG_CONFIG_HOME/zelt/zelt.ini (~/.config/zelt/zelt.ini).\n"
        "  *.blo      firmware images, looked up in the program's folder, then\n"
        "             $XDG_DATA_HOME/zelt/firmware (~/.local/share/zelt/firmware), then the\n"
        "             installation's share/zelt/firmware (/usr/share/zelt/firmware).\n"
        "\n"
        "Link trace: every block each way in hex with the time to the millisecond, and every open and\n"
        "close of a port with the system's reason when it fails. The last 2,000 lines are kept from the\n"
        "start: Ctrl+L in the window shows them and saves them. --log appends the trace to a file, and\n"
        "QT_LOGGING_RULES=zelt.link.debug=true in the environment prints it on standard error."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(kLogOption, QStringLiteral("Appends the link trace to <file>."),
                                        QStringLiteral("file")));
    parser.addOption(QCommandLineOption(
        kLanguageOption,
        QStringLiteral("Shows the window in the language <code> (de, es, fr, pt_BR, ru, zh_CN; en for "
                       "English) instead of the system's (LANG, LC_MESSAGES)."),
        QStringLiteral("code")));
}

QString log_file_option(const QCommandLineParser& parser)
{
    return parser.value(kLogOption);
}

QString language_option(const QCommandLineParser& parser)
{
    return parser.value(kLanguageOption);
}
