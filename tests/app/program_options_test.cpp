// Which command lines zelt-esc answers without a window: help and version,
// before "--" only; Qt's own options still need the window.

#include "app/program_options.h"

#include <gtest/gtest.h>
#include <QCommandLineParser>
#include <vector>

TEST(ProgramOptions, HelpAndVersionAreAnsweredWithoutAWindow)
{
    struct Case {
        std::vector<const char*> args;
        bool withoutWindow;
    };
    const Case cases[] = {
        {{}, false},
        {{"--help"}, true},
        {{"-h"}, true},
        {{"--help-all"}, true},
        {{"--version"}, true},
        {{"-v"}, true},
        {{"-platform", "offscreen"}, false},
        {{"--", "--help"}, false},
        {{"--helpme"}, false},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("zelt-esc")};
        for (const char* a : c.args)
            argv.push_back(const_cast<char*>(a));
        EXPECT_EQ(asks_help_or_version(static_cast<int>(argv.size()), argv.data()), c.withoutWindow)
            << (c.args.empty() ? "" : c.args.back());
    }
}

// --lang names the window's language; without it the system's is taken.
TEST(ProgramOptions, LangChoosesTheLanguage)
{
    for (const auto& [args, code] :
         std::vector<std::pair<QStringList, QString>>{{{"zelt-esc", "--lang", "pt_BR"}, "pt_BR"},
                                                      {{"zelt-esc", "--lang=de"}, "de"},
                                                      {{"zelt-esc"}, ""}}) {
        QCommandLineParser parser;
        describe_program(parser);
        ASSERT_TRUE(parser.parse(args)) << parser.errorText().toStdString();
        EXPECT_EQ(language_option(parser), code) << args.join(' ').toStdString();
    }
}
