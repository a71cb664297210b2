#pragma once
// A Link over a real TComm on a pseudo-terminal, with standalone controls in
// place of the main window's and a scripted device on the other side.

#include "link/lamp.h"
#include "link/link.h"
#include "pty_peer.h"
#include "serial/tcomm.h"
#include "tests/e2e/recording_dialogs.h"
#include "tests/support/event_wait.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QThread>

#include <functional>
#include <memory>

class LinkTest : public ::testing::Test {
protected:
    LinkTest()
    {
        box = new QComboBox(&form);
        box->setEditable(true);
        shcom = new QFrame(&form);
        Shdt = new QFrame(&form);
        Label2 = new QLabel(QStringLiteral("HW Type: Unknown"), &form);
        Label3 = new QLabel(QStringLiteral("HW version: Unknown"), &form);
        Label4 = new QLabel(QStringLiteral("FW version: Unknown"), &form);
        Label15 = new QLabel(&form);
        RadioButton1 = new QRadioButton(&form);
        RadioButton2 = new QRadioButton(&form);
        RadioButton1->setChecked(true);
        set_lamp(shcom, false);
        set_lamp(Shdt, false);
        comm.SetBaudRate(19200);
        // Binary link: 0x11 and 0x13 are data, not flow control.
        comm.SetOutx_XonXoffFlow(false);
        comm.SetInx_XonXoffFlow(false);
        LinkUi ui;
        ui.cmbbxcomnum = box;
        ui.shcom = shcom;
        ui.Shdt = Shdt;
        ui.Label2 = Label2;
        ui.Label3 = Label3;
        ui.Label4 = Label4;
        ui.Label15 = Label15;
        ui.RadioButton2 = RadioButton2;
        link = std::make_unique<Link>(comm, st, ui, dialogs, timer1, timer2);
        link->start_speed_test = [this] { ++speedStarts; };
        QObject::connect(&timer1, &WindowTimer::tick, [this] {
            ++timer1Ticks;
            link->run_command([this] { link->Timer1Timer(); });
        });
    }
    ~LinkTest() override
    {
        comm.CloseComm();
        link.reset();
    }

    void openPeer()
    {
        comm.SetCommName(peer.path());
        comm.OpenComm();
    }
    static bool waitUntil(const std::function<bool()>& cond, int timeoutMs)
    {
        return wait_until(cond, timeoutMs);
    }
    static void settle(int ms) { ::settle(ms); }
    // Hands a block to the receive handler as Comm1 would.
    void receive(const QByteArray& bytes)
    {
        link->Comm1ReceiveData(&comm, bytes.constData(), static_cast<uint16_t>(bytes.size()));
    }
    QStringList labels() const { return {Label2->text(), Label3->text(), Label4->text()}; }

    QWidget form;
    QComboBox* box;
    QFrame* shcom;
    QFrame* Shdt;
    QLabel *Label2, *Label3, *Label4, *Label15;
    QRadioButton *RadioButton1, *RadioButton2;
    PtyPeer peer;
    TComm comm;
    SharedState st;
    RecordingDialogs dialogs;
    WindowTimer timer1{1000};
    WindowTimer timer2{1000, Qt::PreciseTimer};
    std::unique_ptr<Link> link;
    int speedStarts = 0;
    int timer1Ticks = 0;
};

inline const QString kNoSuchPort = QStringLiteral("/dev/zelt-no-such-port");
