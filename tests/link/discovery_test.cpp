#include "link_fixture.h"

namespace {

class Discovery : public LinkTest {
protected:
    void cardWithEsc(QByteArray id = QByteArray("\x50\x03\x10\x12", 4))
    {
        peer.answer(0x35, {QByteArray("\x25\x01", 2)});
        peer.answer(0x50, {id});
    }
    void listPorts(const QStringList& ports)
    {
        link->set_port_list(ports);
        view.portName = ports.isEmpty() ? QString() : ports.first();
    }
};

TEST_F(Discovery, UserSearchFindsCardAndEscOnSecondPort)
{
    cardWithEsc();
    listPorts({kNoSuchPort, peer.path()});
    QElapsedTimer t;
    t.start();
    link->run_command([this] { link->search_by_user(); });
    // The missing first port costs its full probe wait.
    EXPECT_GE(t.elapsed(), 900);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Find hardware"));
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("find setting card connected with") + peer.path() +
                                         QStringLiteral("\r\nand find ESCESC_T03"));
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::None);
    EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(comm.IsOpen());
    EXPECT_EQ(comm.CommName(), peer.path());
    EXPECT_EQ(view.portName, peer.path());
    EXPECT_TRUE(view.cardLamp);
    EXPECT_TRUE(view.escLamp);
    EXPECT_EQ(labels(), (QStringList{"HW type:ESC_T03", "HW version:V1.0", "FW version:V1.2"}));
    EXPECT_TRUE(st.esc_ok);
    EXPECT_FALSE(st.cmd_mode);
    EXPECT_EQ(st.fw_group, 1);
    EXPECT_EQ(view.status, QStringLiteral("Wait user command"));
    EXPECT_EQ(peer.received(), QByteArray("\x35\x50"));
    EXPECT_EQ(speedStarts, 0);
}

TEST_F(Discovery, CardWithoutEsc)
{
    const QByteArray noEscReplies[] = {QByteArray("\x50\x00\x00\x00", 4), QByteArray("\x50", 1),
                                       QByteArray("\x50\x03\x10\x12\x00", 5)};
    for (const QByteArray& reply : noEscReplies) {
        cardWithEsc(reply);
        listPorts({peer.path()});
        dialogs.boxes.clear();
        st.esc_ok = true;
        view.escLamp = true;
        link->run_command([this] { link->search_by_user(); });
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("find setting card connected with") + peer.path() +
                                             QStringLiteral("\r\nnot find ESC"));
        EXPECT_EQ(labels(), (QStringList{"HW type: unknown", "HW version: unknown", "FW version: unknown"}));
        EXPECT_FALSE(st.esc_ok);
        EXPECT_FALSE(view.escLamp);
        EXPECT_TRUE(view.cardLamp);
        EXPECT_TRUE(comm.IsOpen());
    }
}

TEST_F(Discovery, NoCardUserForm)
{
    listPorts({kNoSuchPort, kNoSuchPort + QStringLiteral("2")});
    st.cmd_mode = true;
    st.esc_ok = true;
    view.cardLamp = true;
    view.escLamp = true;
    link->run_command([this] { link->search_by_user(); });
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("not find hardware"));
    EXPECT_EQ(dialogs.boxes[0].text,
              QStringLiteral("can not find hardware,please confirm:\r\n  1.Hardware port "
                             "connect.\r\n  2.Hardware power."));
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Error);
    EXPECT_FALSE(view.cardLamp);
    EXPECT_FALSE(view.escLamp);
    EXPECT_EQ(labels(), (QStringList{"HW type:unknown", "HW version:unknown", "FW version:unknown"}));
    EXPECT_FALSE(st.esc_ok);
    EXPECT_TRUE(st.cmd_mode);  // a user search that found nothing leaves it
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_EQ(view.portName, kNoSuchPort + QStringLiteral("2"));
    EXPECT_EQ(view.status, QStringLiteral("Wait user command"));
}

TEST_F(Discovery, EmptyPortListUserForm)
{
    link->run_command([this] { link->search_by_user(); });
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("not find hardware"));
}

TEST_F(Discovery, QuietSearchShowsNoBoxInAnyOutcome)
{
    // No card: lamps silver and the unknown labels, after the sleep.
    listPorts({kNoSuchPort});
    st.auto_search = true;
    st.cmd_mode = true;
    view.cardLamp = true;
    link->run_command([this] { link->search(); });
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(st.auto_search);
    EXPECT_FALSE(st.cmd_mode);
    EXPECT_FALSE(view.cardLamp);
    EXPECT_EQ(labels(), (QStringList{"HW type:unknown", "HW version:unknown", "FW version:unknown"}));

    // Card and ESC.
    cardWithEsc(QByteArray("\x50\x0E\x21\x13", 4));
    listPorts({peer.path()});
    st.auto_search = true;
    link->run_command([this] { link->search(); });
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(st.auto_search);
    EXPECT_TRUE(st.esc_ok);
    EXPECT_EQ(st.fw_group, 6);
    EXPECT_EQ(view.labels[0], QStringLiteral("HW type:ESC_T14"));
    EXPECT_EQ(view.status, QStringLiteral("Wait user command"));
}

TEST_F(Discovery, QuietSearchSleepsWithoutHandlingEvents)
{
    st.auto_search = true;
    bool inSearch = false, ran = false, ranInSearch = false;
    qint64 searchMs = 0;
    link->run_command([&] {
        QMetaObject::invokeMethod(
            link,
            [&] {
                ran = true;
                ranInSearch = inSearch;
            },
            Qt::QueuedConnection);
        inSearch = true;
        QElapsedTimer t;
        t.start();
        link->search();  // empty port list: only the sleep could handle the event
        searchMs = t.elapsed();
        inSearch = false;
    });
    QCoreApplication::processEvents();
    EXPECT_GE(searchMs, 95);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(ranInSearch);
}

TEST_F(Discovery, AnnouncementJudgedExactly)
{
    const struct {
        std::vector<QByteArray> pieces;
        int gapMs;
        bool found;
    } cases[] = {
        {{QByteArray("\x25", 1), QByteArray("\x01", 1)}, 30, true},  // split announcement
        {{QByteArray("\x25\x01\x00", 3)}, 0, false},                 // more than the announcement
        {{QByteArray("\x25\x02", 2)}, 0, false},
    };
    for (const auto& c : cases) {
        peer.answer(0x35, c.pieces, c.gapMs);
        peer.answer(0x50, {QByteArray("\x50\x01\x10\x10", 4)});
        listPorts({peer.path()});
        dialogs.boxes.clear();
        link->run_command([this] { link->search_by_user(); });
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].title,
                  c.found ? QStringLiteral("Find hardware") : QStringLiteral("not find hardware"));
    }
}

TEST_F(Discovery, SpeedModeStartsSpeedTestAfterIdentification)
{
    cardWithEsc();
    listPorts({peer.path()});
    view.selected = OperationMode::Speed;
    link->run_command([this] { link->search_by_user(); });
    EXPECT_EQ(speedStarts, 1);
}

TEST_F(Discovery, WatchdogReportsWhenTheCardAnnouncedButNoEscFollowed)
{
    st.auto_search = false;
    st.esc_ok = true;
    view.cardLamp = true;
    view.escLamp = true;
    view.labels[0] = QStringLiteral("HW type:ESC_T03");
    timer1.start();
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes.empty(); }, 3000));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, QStringLiteral("Comm error"));
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Hardware not connect or Comm port select error"));
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Error);
    EXPECT_FALSE(view.cardLamp);
    EXPECT_TRUE(view.escLamp);
    EXPECT_EQ(view.labels[0], QStringLiteral("HW type:ESC_T03"));
    EXPECT_EQ(view.status, QStringLiteral("Comm error"));
    EXPECT_FALSE(st.esc_ok);
    EXPECT_FALSE(timer1.isActive());
}

TEST_F(Discovery, WatchdogRunsQuietSearchWhileProbeUnanswered)
{
    cardWithEsc();
    listPorts({peer.path()});
    st.auto_search = true;
    timer1.start();
    ASSERT_TRUE(waitUntil([this] { return st.esc_ok; }, 4000));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(st.auto_search);
    EXPECT_EQ(timer1Ticks, 1);
}

}  // namespace
