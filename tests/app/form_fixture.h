#pragma once
// A main window in a fresh program folder, with recorded boxes and a port
// list of names that no device answers to.

#include "app/tform1.h"
#include "testing/event_wait.h"
#include "testing/recording_dialogs.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <memory>

class FormTest : public ::testing::Test {
protected:
    // The watchdog is stopped after start-up, so that no search runs while a
    // test looks at the window, unless keepWatchdog.
    std::unique_ptr<TForm1> makeForm(const QStringList& ports = {}, bool keepWatchdog = false)
    {
        AppEnv env;
        env.programDir = dir.path();
        env.listPorts = [ports] { return ports; };
        env.dialogs = &boxes;
        auto form = std::make_unique<TForm1>(env);
        if (!keepWatchdog)
            form->Timer1().stop();
        return form;
    }

    template <class T>
    static T* control(TForm1& form, const char* name)
    {
        T* c = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << "no control " << name << " of that kind";
        return c;
    }

    QString iniPath() const { return dir.filePath(QStringLiteral("zelt.ini")); }

    static bool waitUntil(const std::function<bool()>& cond, int timeoutMs)
    {
        return wait_until(cond, timeoutMs);
    }
    static void settle(int ms) { ::settle(ms); }

    QTemporaryDir dir;
    RecordingDialogs boxes;
};

// Names that no device answers to.
inline const QStringList kNoDevicePorts = {QStringLiteral("/dev/zelt-none-a"),
                                           QStringLiteral("/dev/zelt-none-b")};
