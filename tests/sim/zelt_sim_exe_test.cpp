// The zelt-sim executable: its first line, registration, stdin commands,
// signals and options.

#include "pty_client.h"
#include "sim/command_line.h"
#include "sim/console_command.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <csignal>

using namespace simtest;

namespace {

class ZeltSimExe : public ::testing::Test {
protected:
    void launch(const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime_.path());
        proc_.setProcessEnvironment(env);
        proc_.start(ZELT_SIM_EXE, args);
        ASSERT_TRUE(proc_.waitForStarted(5000));
        ASSERT_TRUE(wait_line(&path_));
    }
    bool wait_line(QString* out)
    {
        while (!proc_.canReadLine())
            if (!proc_.waitForReadyRead(5000))
                return false;
        *out = QString::fromLocal8Bit(proc_.readLine()).trimmed();
        return true;
    }
    void TearDown() override
    {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.kill();
            proc_.waitForFinished(5000);
        }
    }
    void command(const char* line)
    {
        proc_.write(line);
        proc_.waitForBytesWritten(2000);
    }
    QString folder() const { return runtime_.filePath("serialcomm"); }
    QStringList links() const
    {
        return QDir(folder()).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    }

    QTemporaryDir runtime_;
    QProcess proc_;
    QString path_;
};

TEST_F(ZeltSimExe, FirstLineIsThePortAndTheLinkGoesOnQuit)
{
    launch({"--unpaced"});
    EXPECT_TRUE(path_.startsWith("/dev/pts/")) << path_.toStdString();
    EXPECT_EQ(QFileInfo(folder() + "/ttySIM0").symLinkTarget(), path_) << "listed before it is named";
    QString second;
    ASSERT_TRUE(wait_line(&second));
    EXPECT_EQ(second, "registered as " + folder() + "/ttySIM0");

    PtyClient line(path_.toStdString());
    ASSERT_TRUE(line.is_open());
    EXPECT_EQ(to_hex(line.ask(hex("35"))), "2501");

    command("unplug\n");
    EXPECT_EQ(to_hex(line.read_until_quiet(300)), "50");
    command("plug 05\n");
    EXPECT_EQ(to_hex(line.read_until_quiet(300)), "50051012");
    command("plug 07 11 13\n");
    EXPECT_EQ(to_hex(line.read_until_quiet(300)), "50071113");
    command("jump\n");
    command("quit\n");
    ASSERT_TRUE(proc_.waitForFinished(5000));
    EXPECT_EQ(proc_.exitCode(), 0);
    EXPECT_TRUE(proc_.readAllStandardError().contains("unknown command: jump"));
    EXPECT_TRUE(links().isEmpty());
}

// Each card is a port of its own with its ESC; taking one ESC out tells only
// that card's line, and its card then answers the identification request as
// a card without an ESC does, until the ESC is put back.
TEST_F(ZeltSimExe, SeveralCardsEachWithAnESCThatComesAndGoes)
{
    launch({"--unpaced", "--cards", "3"});
    QStringList paths = {path_};
    for (int i = 0; i < 5; ++i) {
        QString line;
        ASSERT_TRUE(wait_line(&line));
        paths.append(line);
    }
    std::vector<std::unique_ptr<PtyClient>> lines;
    for (int card = 0; card < 3; ++card) {
        EXPECT_TRUE(paths[card].startsWith("/dev/pts/")) << paths[card].toStdString();
        const QString link = folder() + "/ttySIM" + QString::number(card);
        EXPECT_EQ(paths[3 + card], "registered as " + link);
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), paths[card]);
        lines.push_back(std::make_unique<PtyClient>(paths[card].toStdString()));
        ASSERT_TRUE(lines.back()->is_open());
    }

    // What the card sends of itself is also its answer to "50" from then on.
    struct Step {
        const char* command;
        int card;
        const char* sends;
    };
    const Step steps[] = {
        {"card 2 unplug\n", 2, "50"},
        {"card 2 plug 05\n", 2, "50051012"},
        {"card 3 unplug\n", 3, "50"},
        {"card 1 unplug\n", 1, "50"},
        {"card 3 plug 07 11 13\n", 3, "50071113"},
    };
    std::string identification[3] = {"50031012", "50031012", "50031012"};
    for (const Step& step : steps) {
        command(step.command);
        identification[step.card - 1] = step.sends;
        // The named card first: once it has spoken, the command was taken.
        const std::string sends = step.sends;
        EXPECT_EQ(to_hex(lines[step.card - 1]->read(sends.size() / 2, 5000)), sends) << step.command;
        for (int card = 1; card <= 3; ++card) {
            EXPECT_EQ(to_hex(lines[card - 1]->read_until_quiet(50)), "") << step.command << " card " << card;
            lines[card - 1]->write(hex("50"));
            EXPECT_EQ(to_hex(lines[card - 1]->read(identification[card - 1].size() / 2, 5000)),
                      identification[card - 1])
                << step.command << " card " << card;
        }
    }
    command("unplug\n");
    command("card 4 unplug\n");
    command("card 1 quit\n");
    command("quit\n");
    ASSERT_TRUE(proc_.waitForFinished(5000));
    const QByteArray err = proc_.readAllStandardError();
    EXPECT_TRUE(err.contains("name the card: card K unplug (K from 1 to 3)")) << err.toStdString();
    EXPECT_TRUE(err.contains("there is no card 4 (cards 1 to 3)")) << err.toStdString();
    EXPECT_TRUE(err.contains("unknown command: card 1 quit")) << err.toStdString();
    EXPECT_TRUE(links().isEmpty());
}

TEST_F(ZeltSimExe, EndOfInputKeepsItRunningAndSigtermUnregisters)
{
    launch({"--unpaced", "--no-esc", "--type", "0A"});
    proc_.closeWriteChannel();
    EXPECT_FALSE(proc_.waitForFinished(300));
    ASSERT_EQ(links().size(), 1);
    PtyClient line(path_.toStdString());
    EXPECT_EQ(to_hex(line.ask(hex("50"))), "50");
    kill(static_cast<pid_t>(proc_.processId()), SIGTERM);
    ASSERT_TRUE(proc_.waitForFinished(5000));
    EXPECT_EQ(proc_.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(links().isEmpty());
}

TEST_F(ZeltSimExe, SigintUnregistersAndImagesAreWritten)
{
    QTemporaryDir demo;
    launch({"--images", demo.path(), "--image-version", "1.4"});
    EXPECT_EQ(QDir(demo.path()).entryList({"upt*.blo"}).size(), 6);
    kill(static_cast<pid_t>(proc_.processId()), SIGINT);
    ASSERT_TRUE(proc_.waitForFinished(5000));
    EXPECT_TRUE(links().isEmpty());
}

TEST_F(ZeltSimExe, BadOptionsAreRefusedWithAReason)
{
    struct Case {
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {{"--type", "XY"}, "--type: XY is not a hex byte"},
        {{"--poles", "25"}, "--poles: 25 is not a number from 2 to 24"},
        {{"--hw"}, "--hw needs a value"},
        {{"--block-reply", "5"}, "--block-reply: 5 is not BLOCK:HEXBYTES"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"--adapter", "ftdi"}, "--adapter: ftdi is not one of none, ftdi-16ms, ftdi-1ms, ch340"},
        {{"--adapter-packet", "0"}, "--adapter-packet: 0 is not a number from 1 to 4096"},
        {{"--cards", "0"}, "--cards: 0 is not a number from 1 to 64"},
        {{"--images", "/proc/none", "--unpaced"}, "cannot write the sample images into /proc/none"},
    };
    for (const Case& c : cases) {
        QProcess p;
        p.start(ZELT_SIM_EXE, c.args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_NE(p.exitCode(), 0) << c.args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains(c.says)) << c.says;
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    }
}

// Help and version go to standard output with success, so that help2man and
// a shell pipe take them.
TEST_F(ZeltSimExe, HelpAndVersionAnswerOnStandardOutput)
{
    const std::pair<const char*, const char*> cases[] = {
        {"--help", "Usage: zelt-sim [options]\n"},
        {"-h", "Usage: zelt-sim [options]\n"},
        {"--version", "zelt-sim " ZELT_VERSION "\n"},
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    for (const auto& [option, begins] : cases) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(ZELT_SIM_EXE, {option});
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 0) << option;
        EXPECT_TRUE(p.readAllStandardOutput().startsWith(begins)) << option;
        EXPECT_TRUE(p.readAllStandardError().isEmpty()) << option;
    }
    // No simulator was started: no port was registered.
    EXPECT_FALSE(QFileInfo::exists(folder())) << folder().toStdString();
}

TEST(CommandLine, OptionsReachTheSimulator)
{
    const char* argv[] = {"zelt-sim",
                          "--type",
                          "0A",
                          "--hw",
                          "1A",
                          "--fw",
                          "2F",
                          "--no-esc",
                          "--zero-id",
                          "--unpaced",
                          "--poles",
                          "4",
                          "--turnaround",
                          "7",
                          "--block-reply",
                          "3:59 55",
                          "--write-ack",
                          "66",
                          "--no-register",
                          "--silent",
                          "--reply-delay",
                          "20",
                          "--hangup-after",
                          "9",
                          "--adapter",
                          "ftdi-16ms",
                          "--adapter-hold-ms",
                          "4"};
    sim::CommandLine cl;
    std::string error;
    ASSERT_TRUE(sim::parse_command_line(std::size(argv), const_cast<char**>(argv), &cl, &error)) << error;
    EXPECT_EQ(cl.options.type, 0x0A);
    EXPECT_EQ(cl.options.hw_version, 0x1A);
    EXPECT_EQ(cl.options.fw_version, 0x2F);
    EXPECT_FALSE(cl.options.esc_present);
    EXPECT_TRUE(cl.options.zero_id_without_esc);
    EXPECT_FALSE(cl.options.paced);
    EXPECT_EQ(cl.options.poles, 4);
    EXPECT_EQ(cl.options.turnaround_ms, 7);
    ASSERT_EQ(cl.block_replies.size(), 1u);
    EXPECT_EQ(cl.block_replies[0].first, 3);
    EXPECT_EQ(cl.block_replies[0].second, (std::vector<uint8_t>{0x59, 0x55}));
    EXPECT_EQ(cl.write_ack, 0x66);
    EXPECT_FALSE(cl.register_port);
    EXPECT_TRUE(cl.silent_card);
    EXPECT_EQ(cl.reply_delay_ms, 20);
    EXPECT_EQ(cl.hangup_after_bytes, 9);
    // A knob given after the preset changes only itself.
    EXPECT_EQ(cl.options.adapter, (sim::AdapterSettings{62, std::chrono::milliseconds(4)}));
}

TEST(ConsoleCommand, MalformedCommandsAreRefused)
{
    sim::Simulator simulator;  // not started: commands only change its state
    std::string message;
    for (const char* bad : {"plug", "plug 5", "plug 05 11", "plug zz", "unplug now", "quit!", "reboot"}) {
        message.clear();
        EXPECT_EQ(sim::run_console_command(bad, simulator, {}, &message), sim::CommandResult::Error) << bad;
        EXPECT_NE(message.find(bad), std::string::npos) << message;
    }
    EXPECT_EQ(sim::run_console_command("  ", simulator, {}, &message), sim::CommandResult::Done);
    EXPECT_EQ(sim::run_console_command("quit", simulator, {}, &message), sim::CommandResult::Quit);
    EXPECT_EQ(sim::run_console_command("plug 0e 21 22", simulator, {}, &message), sim::CommandResult::Done);
    EXPECT_EQ(simulator.fw_version(), 0x22);

    std::vector<std::unique_ptr<sim::Simulator>> cards;
    cards.push_back(std::make_unique<sim::Simulator>());
    cards.push_back(std::make_unique<sim::Simulator>());
    for (const char* bad : {"card", "card 0 unplug", "card 3 unplug", "card 1x unplug", "card 2", "card 2 quit",
                            "card 2 plug zz", "plug 05"}) {
        message.clear();
        EXPECT_EQ(sim::run_card_command(bad, cards, {}, &message), sim::CommandResult::Error) << bad;
        EXPECT_FALSE(message.empty()) << bad;
    }
    EXPECT_EQ(sim::run_card_command("card 2 plug 0e 21 23", cards, {}, &message), sim::CommandResult::Done);
    EXPECT_EQ(cards[1]->fw_version(), 0x23);
    EXPECT_EQ(cards[0]->fw_version(), 0x12);
    EXPECT_EQ(sim::run_card_command("quit", cards, {}, &message), sim::CommandResult::Quit);
}

}  // namespace
