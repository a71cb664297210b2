// The production station on 1, 4 and 8 simulated cards at line pace, one
// unit per card with a firmware update and settings: the real
// `zelt-cli station`, timed from its first step to its last unit. The line is
// what limits a unit, so a round on 8 cards should take no longer than one
// unit on one card alone (goal: at most 1.05). The station's CPU time per unit
// (user + system, threads included) is shown beside it.
//
// --quick runs 1 and 2 cards unpaced: it shows the benchmark works, its
// figures mean nothing.

#include "bench_report.h"
#include "params/ini_file.h"
#include "params/setting_keys.h"
#include "sim/simulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Round {
    double seconds = 0;      // first step to last unit
    double cpuSeconds = 0;   // the station's user + system time
    int passed = 0;
};

double children_cpu()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool run_round(int cards, bool paced, const QTemporaryDir& home, Round* round)
{
    std::vector<std::unique_ptr<sim::Simulator>> sims;
    QStringList ports;
    for (int i = 0; i < cards; ++i) {
        sim::Options o;
        o.paced = paced;
        sims.push_back(std::make_unique<sim::Simulator>(o));
        if (!sims.back()->start()) {
            std::fprintf(stderr, "no pseudo-terminal for card %d\n", i + 1);
            return false;
        }
        ports.append(QString::fromStdString(sims.back()->port_path()));
    }
    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", home.filePath("state"));
    station.setProcessEnvironment(env);
    const double cpuBefore = children_cpu();
    station.start(QStringLiteral(ZELT_CLI_EXE),
                  {"station", "--ports", ports.join(','), "--image", home.filePath("images/upt03.blo"), "--setup",
                   home.filePath("golden.zelt"), "--units", QString::number(cards), "--records",
                   home.filePath("station.sqlite"), "--json"});
    QElapsedTimer wall;
    wall.start();
    double firstStep = -1, lastUnit = -1;
    while (station.state() != QProcess::NotRunning || station.canReadLine()) {
        if (!station.canReadLine() && !station.waitForReadyRead(1000) && station.state() == QProcess::NotRunning)
            break;
        while (station.canReadLine()) {
            const QJsonObject e = QJsonDocument::fromJson(station.readLine()).object();
            const double now = wall.nsecsElapsed() / 1e9;
            if (e.value("event") == "step" && firstStep < 0)
                firstStep = now;
            if (e.value("event") == "unit") {
                lastUnit = now;
                round->passed += e.value("result") == "pass" ? 1 : 0;
            }
        }
        if (wall.elapsed() > 300000) {
            station.kill();
            break;
        }
    }
    station.waitForFinished();
    round->cpuSeconds = children_cpu() - cpuBefore;
    round->seconds = lastUnit - firstStep;
    std::printf("%d card(s): round %.3f s, %d of %d passed, station CPU %.3f s (exit %d)\n", cards, round->seconds,
                round->passed, cards, round->cpuSeconds, station.exitCode());
    if (firstStep < 0 || lastUnit < 0 || round->passed != cards) {
        std::fprintf(stderr, "%s\n", station.readAllStandardError().constData());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = quick_run(argc, argv);
    QTemporaryDir home;
    if (!home.isValid() || !QDir().mkpath(home.filePath("images")) || !QDir().mkpath(home.filePath("state")) ||
        !sim::Simulator::write_sample_images(home.filePath("images").toStdString()))
        return 2;
    IniFile ini(home.filePath("golden.zelt"));
    const int golden[kSetupKeyCount] = {1, 1, 2, 1, 2, 0};
    for (int pos = 0; pos < kSetupKeyCount; ++pos)
        ini.writeInteger(kIncSection, kIncKeys[pos], golden[pos]);
    if (!ini.save())
        return 2;

    const std::vector<int> counts = quick ? std::vector<int>{1, 2} : std::vector<int>{1, 4, 8};
    std::vector<Round> rounds;
    for (int cards : counts) {
        Round round;
        if (!run_round(cards, !quick, home, &round))
            return 1;
        rounds.push_back(round);
    }
    BenchReport report;
    for (size_t i = 1; i < rounds.size(); ++i) {
        const std::string what = "station round, " + std::to_string(counts[i]) + " cards / 1 card";
        if (i + 1 == rounds.size())
            report.atMost(what, rounds[i].seconds / rounds[0].seconds, "", 1.05);
        else
            report.info(what, rounds[i].seconds / rounds[0].seconds, "");
    }
    for (size_t i = 0; i < rounds.size(); ++i)
        report.info("station CPU per unit, " + std::to_string(counts[i]) + " card(s)",
                    rounds[i].cpuSeconds / counts[i], "s");
    report.print();
    return 0;
}
