#pragma once
// The main window on the offscreen platform, in a program folder of its own,
// talking through the real serial component to the device simulator.
// Benchmarks drive it through its controls, as a user would.

#include "app/tform1.h"
#include "bench_report.h"
#include "serial/trace_capture.h"
#include "sim/simulator.h"
#include "testing/answering_dialogs.h"
#include "testing/event_wait.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// What every window benchmark starts with: the offscreen platform unless
// another one was asked for, the application object, and whether --quick
// was given.
class WindowBenchApp {
public:
    WindowBenchApp(int& argc, char** argv) : app_((offscreen_unless_set(), argc), argv), quick(quick_run(argc, argv))
    {
    }

private:
    static void offscreen_unless_set()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app_;

public:
    const bool quick;
};

class BenchWindow {
public:
    explicit BenchWindow(const sim::Options& options) : device(options) {}
    ~BenchWindow()
    {
        if (form)
            form->close();
    }

    // Starts the simulator, remembers its port in the folder's zelt.ini,
    // writes sample firmware images when asked, shows the window and waits
    // until the ESC is identified. Says on stderr what failed.
    bool open(const char* benchmark, bool withImages = false)
    {
        if (!folder.isValid() || !device.start()) {
            std::fprintf(stderr, "%s: no temporary folder or no pseudo-terminal for the simulator\n",
                         benchmark);
            return false;
        }
        if (withImages && !sim::Simulator::write_sample_images(folder.path().toStdString(), "1.3")) {
            std::fprintf(stderr, "%s: cannot write sample firmware images\n", benchmark);
            return false;
        }
        const QString port = QString::fromStdString(device.port_path());
        QFile ini(folder.filePath(QStringLiteral("zelt.ini")));
        if (!ini.open(QIODevice::WriteOnly) ||
            ini.write(QStringLiteral("[COMSET]\r\nCOM=%1\r\n").arg(port).toLocal8Bit()) < 0) {
            std::fprintf(stderr, "%s: cannot write a settings file in %s\n", benchmark,
                         qPrintable(folder.path()));
            return false;
        }
        ini.close();

        // The trace is kept from the start, as the program keeps it for its
        // log window: its cost is part of every figure.
        trace.keepFromStart();
        AppEnv env;
        env.programDir = folder.path();
        env.traceLines = &trace.recent();
        env.listPorts = [port] { return QStringList{port}; };
        env.dialogs = &dialogs;
        form = std::make_unique<TForm1>(env);
        form->show();
        // The firmware label changes from "FW version: Unknown" once the ESC
        // has answered the identification.
        if (!wait_until([&] { return control<QLabel>("Label4")->text().startsWith("FW version:V"); },
                        15000)) {
            std::fprintf(stderr, "%s: no ESC identified on %s\n", benchmark, qPrintable(port));
            return false;
        }
        return true;
    }

    // A control of the window; a missing one ends the benchmark, as its
    // figures would mean nothing.
    template <class T>
    T* control(const char* name)
    {
        T* c = form->findChild<T*>(QString::fromLatin1(name));
        if (!c) {
            std::fprintf(stderr, "the window has no control %s\n", name);
            std::exit(2);
        }
        return c;
    }

    LinkTraceCapture trace;  // outlives the window
    sim::Simulator device;
    QTemporaryDir folder;
    AnsweringDialogs dialogs;
    std::unique_ptr<TForm1> form;
};
