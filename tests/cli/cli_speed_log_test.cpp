// speed --csv and --sweep against the simulator's motor: every tick in the
// log, each step's speed, and FF last on the line.

#include "cli_fixture.h"

#include "sim/motor_model.h"
#include "speedtest/speed_math.h"

#include <QRegularExpression>
#include <QThread>

namespace {

struct Row {
    qint64 ms;
    int throttle;
    int code;
    QString period;
    QString sample;
    QString shown;
};

// The log's rows; a failure when the header or a row's shape is wrong.
std::vector<Row> rows_of(const QString& csv)
{
    QStringList lines = csv.split('\n');
    EXPECT_EQ(lines.takeLast(), "") << "the log ends with a line end";
    EXPECT_EQ(lines.value(0), "time_ms,throttle_us,code,period_us,sample_rpm,shown_rpm");
    std::vector<Row> rows;
    for (const QString& line : lines.mid(1)) {
        const QStringList c = line.split(',');
        if (c.size() != 6) {
            ADD_FAILURE() << "row " << line.toStdString();
            continue;
        }
        rows.push_back({c[0].toLongLong(), c[1].toInt(), c[2].toInt(), c[3], c[4], c[5]});
    }
    return rows;
}

// Each row is one code on the line, in order, after the start byte, and a
// period answered gives the speed of that period. FF ends the line, and is
// the last block the program's trace shows handed to the driver.
void expect_rows_match_the_line(const std::vector<Row>& rows, std::vector<uint8_t> wire, const QString& trace,
                                int poles)
{
    const QStringList sent = trace.split('\n').filter(QRegularExpression(" TX "));
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_TRUE(sent.last().endsWith(" TX FF")) << sent.last().toStdString();
    ASSERT_FALSE(wire.empty());
    EXPECT_EQ(wire.back(), 0xFF) << "FF last on the line";
    wire.pop_back();
    ASSERT_GE(wire.size(), 3u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(wire.data()), 3).toHex(), "355006");
    EXPECT_EQ(std::count(wire.begin(), wire.end(), 0xFF), 0);
    ASSERT_EQ(rows.size(), wire.size() - 3) << "a row per code sent";
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(r.code, wire[i + 3]) << i;
        if (i > 0)
            EXPECT_GE(r.ms, rows[i - 1].ms) << i;
        EXPECT_EQ(r.period.isEmpty(), r.sample.isEmpty()) << i;
        if (!r.period.isEmpty())
            EXPECT_EQ(r.sample.toInt(), speed::period_to_rpm(r.period.toLongLong(), poles)) << i;
        EXPECT_FALSE(r.shown.isEmpty()) << i;
    }
}

class CliSpeedLogSlow : public CliTest {};

TEST_F(CliSpeedLogSlow, EveryTickIsLoggedAndASweepPrintsEachStepsMeanSpeed)
{
    const QString file = xdg("XDG_DATA_HOME", "sweep.csv");
    struct Case {
        QStringList args;
        bool csvOnStdout;
        std::vector<int> steps;  // the sweep's throttles; none for a plain run
    };
    const Case cases[] = {
        {{"speed", "--throttle", "1500", "--poles", "14", "--seconds", "1", "--csv", "-", "--port", "PORT"},
         true,
         {}},
        {{"speed", "--sweep", "1200:1500:300:1", "--poles", "14", "--csv", file, "--port", "PORT"},
         false,
         {1200, 1500}},
    };
    const QString traceFile = xdg("XDG_DATA_HOME", "trace.log");
    for (const Case& c : cases) {
        sim_->clear_received();
        QFile::remove(traceFile);
        const QStringList args = c.args + QStringList{"--log", traceFile};
        const CliRun run = cli(args);
        ASSERT_EQ(run.status, 0) << describe(args, run);
        // On a busy machine the simulator takes the end of the run in a little later.
        for (int waited = 0; waited < 2000 && sim_->in_speed_mode(); waited += 10)
            QThread::msleep(10);
        QFile log(file);
        const QString csv =
            c.csvOnStdout ? run.out : (log.open(QIODevice::ReadOnly) ? QString(log.readAll()) : "");
        QFile trace(traceFile);
        ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
        const std::vector<Row> rows = rows_of(csv);
        expect_rows_match_the_line(rows, sim_->received(), QString(trace.readAll()), 14);
        EXPECT_FALSE(sim_->in_speed_mode());
        if (c.steps.empty()) {
            EXPECT_TRUE(QRegularExpression("rpm=[1-9][0-9]*\n$").match(run.err).hasMatch())
                << describe(c.args, run);
            EXPECT_EQ(rows.back().throttle, 1500);
            continue;
        }

        // The mean of the samples logged in each step's second half, and
        // close below the speed the motor heads for (it lags the throttle).
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), static_cast<qsizetype>(c.steps.size())) << describe(c.args, run);
        for (size_t k = 0; k < c.steps.size(); ++k) {
            const int throttle = c.steps[k];
            std::optional<qint64> start;
            double sum = 0;
            int n = 0;
            for (const Row& r : rows) {
                if (r.throttle != throttle)
                    continue;
                if (!start)
                    start = r.ms;
                if (r.ms - *start >= 500 && !r.sample.isEmpty()) {
                    sum += r.sample.toInt();
                    ++n;
                }
                if (r.ms - *start >= 1000)
                    break;
            }
            ASSERT_GT(n, 10) << throttle;
            const long mean = std::lround(sum / n);
            EXPECT_EQ(lines[k], QString("throttle=%1 rpm=%2").arg(throttle).arg(mean));
            bool armed = true;
            const double target = sim::MotorModel::target_rpm(speed::throttle_code(throttle, armed));
            EXPECT_GT(mean, 0.8 * target) << lines[k].toStdString();
            EXPECT_LT(mean, 1.02 * target) << lines[k].toStdString();
        }
    }
}

}  // namespace
