// The link's receive path on any blocks of bytes, in both states of cmd_mode:
// accumulated as upper-case hex text while an exchange waits, read as the
// card's status otherwise. The port stays closed, so nothing is sent.

#include "fuzz_support.h"
#include "link/link.h"
#include "serial/tcomm.h"

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
    TComm comm;
    SharedState st;
    NoDialogs dialogs;
    WindowTimer timer1{1000};
    WindowTimer timer2{1000, Qt::PreciseTimer};
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
    Window& w = window();
    Link link(w.comm, w.st, w.view, w.dialogs, w.timer1, w.timer2);
    w.st = SharedState{};
    // Each block: a length byte whose top bit sets cmd_mode, then the block.
    size_t i = 0;
    while (i < size) {
        const bool cmdMode = data[i] & 0x80;
        const size_t length = std::min<size_t>(data[i] & 0x7F, size - i - 1);
        ++i;
        w.st.cmd_mode = cmdMode;
        const QString before = w.st.recv_str;
        link.Comm1ReceiveData(&w.comm, reinterpret_cast<const char*>(data + i), static_cast<uint16_t>(length));
        const QString added = w.st.recv_str.mid(before.size());
        fuzz_check(w.st.recv_str.startsWith(before));
        fuzz_check(cmdMode ? added.size() == 2 * qsizetype(length) && added == added.toUpper() : added.isEmpty());
        i += length;
    }
    w.timer1.stop();
    return 0;
}
