#pragma once
// Runs the real zelt-cli against the device simulator on a pseudo-terminal,
// in scratch XDG folders, and keeps what it printed.

#include "testing/started_sim.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(start_sim());
        ASSERT_TRUE(home_.isValid());
        env_ = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
            const QString dir = home_.filePath(QString::fromLatin1(name));
            ASSERT_TRUE(QDir().mkpath(dir));
            QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            env_.insert(QString::fromLatin1(name), dir);
        }
        env_.remove(QStringLiteral("QT_LOGGING_RULES"));
    }

    // A simulator of its own (a fresh one replaces the last).
    void start_sim(const sim::Options& o = unpaced_options())
    {
        sim_ = started_sim(o);
        ASSERT_NE(sim_, nullptr);
        port_ = QString::fromStdString(sim_->port_path());
    }

    // "PORT" in args stands for the simulator's port.
    QStringList with_port(QStringList args) const
    {
        args.replaceInStrings(QStringLiteral("PORT"), port_);
        return args;
    }

    // Starts zelt-cli; the caller waits for it.
    void start(QProcess& p, const QStringList& args) const
    {
        p.setProcessEnvironment(env_);
        p.start(QStringLiteral(ZELT_CLI_EXE), with_port(args));
    }

    CliRun cli(const QStringList& args, int timeoutMs = 20000) const
    {
        QProcess p;
        start(p, args);
        CliRun run;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished();
            ADD_FAILURE() << "zelt-cli " << args.join(' ').toStdString() << " did not end";
            return run;
        }
        run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(p.readAllStandardError());
        return run;
    }

    QString xdg(const char* name, const QString& below = {}) const
    {
        return QDir(home_.filePath(QString::fromLatin1(name))).filePath(below);
    }

    std::unique_ptr<sim::Simulator> sim_;
    QString port_;
    QTemporaryDir home_;
    QProcessEnvironment env_;
};

inline std::string describe(const QStringList& args, const CliRun& run)
{
    return ("zelt-cli " + args.join(' ') + " -> " + QString::number(run.status) + "\nstdout:\n" + run.out +
            "stderr:\n" + run.err)
        .toStdString();
}
