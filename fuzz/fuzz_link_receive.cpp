// The link's receive path on any blocks of bytes, in both states of cmd_mode:
// accumulated as upper-case hex text while an exchange waits, read as the
// card's status otherwise. The port stays closed, so nothing is sent.

#include "core/esc_session.h"
#include "testing/session_peer.h"
#include "fuzz_support.h"

#include "testing/fake_view.h"

#include <QCoreApplication>

namespace {

class NoDialogs : public Dialogs {
public:
    BoxAnswer message(const QString&, const QString&, BoxIcon, BoxButtons) override { return BoxAnswer::Ok; }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
};

struct Window {
    FakeView view;
    NoDialogs dialogs;
    EscSession session{view, dialogs, SessionChoices{.watchdog = false}};
};

Window& window()
{
    static int argc = 1;
    static char name[] = "fuzz_link_receive";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Window w;
    return w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EscSession& s = window().session;
    EscSessionTestPeer::state(s) = SharedState{};
    // Each block: a length byte whose top bit sets cmd_mode, then the block.
    size_t i = 0;
    while (i < size) {
        const bool cmdMode = data[i] & 0x80;
        const size_t length = std::min<size_t>(data[i] & 0x7F, size - i - 1);
        ++i;
        EscSessionTestPeer::state(s).cmd_mode = cmdMode;
        const QString before = s.state().recv_str;
        s.link().receive(&s.comm(), reinterpret_cast<const char*>(data + i), static_cast<uint16_t>(length));
        const QString added = s.state().recv_str.mid(before.size());
        fuzz_check(s.state().recv_str.startsWith(before));
        fuzz_check(cmdMode ? added.size() == 2 * qsizetype(length) && added == added.toUpper() : added.isEmpty());
        i += length;
    }
    s.watchdog().stop();
    return 0;
}
