#pragma once
// An X server of the test's own on the first free display number, for the
// tests that run a real program's window and click it with xdotool.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class OwnDisplay {
public:
    OwnDisplay()
    {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp")});
        if (!server_.waitForStarted(5000))
            return;
        for (int i = 0; i < 100 && !server_.canReadLine(); ++i)
            server_.waitForReadyRead(100);
        const QByteArray number = server_.readLine().trimmed();
        if (!number.isEmpty())
            name_ = QStringLiteral(":") + QString::fromLatin1(number);
    }
    ~OwnDisplay() { end(); }
    OwnDisplay(const OwnDisplay&) = delete;
    OwnDisplay& operator=(const OwnDisplay&) = delete;

    // The server goes, as when a display is lost; the destructor does it too.
    void end()
    {
        if (server_.state() != QProcess::NotRunning) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }
    // ":N"; empty when the server did not start.
    const QString& name() const { return name_; }

    // xdotool on this display; its standard output, trimmed.
    QString xdotool(const QStringList& args) const
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), name_);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), args);
        tool.waitForFinished(10000);
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

private:
    QProcess server_;
    QString name_;
};
