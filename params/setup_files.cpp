#include "params/setup_files.h"

#include "link/dialogs.h"
#include "link/esc_view.h"
#include "link/status_texts.h"
#include "params/setting_keys.h"
#include "params/setup_file_format.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("Zelt File (*.zelt)");
const QString kSuffix = QStringLiteral("zelt");

// The hourglass while the file is read, whatever way the load ends.
class BusyWhile {
public:
    explicit BusyWhile(EscView& view) : view_(view) { view_.showBusy(true); }
    ~BusyWhile() { view_.showBusy(false); }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    EscView& view_;
};
}  // namespace

SetupFiles::SetupFiles(SharedState& st, EscView& view, Dialogs& dialogs) : st_(st), view_(view), dialogs_(dialogs) {}

Outcome SetupFiles::load()
{
    const QString name = dialogs_.openFileName(kFilter, kSuffix);
    if (name.isEmpty())
        return Outcome::fail(Outcome::Kind::Refused);
    const BusyWhile hourglass(view_);
    st_.setup_file_name = QFileInfo(name).absoluteFilePath();
    QCoreApplication::processEvents();
    const SetupValues values = read_setup_file(name);
    for (int i = 0; i < kSetupKeyCount; ++i)
        view_.showSettingIndex(i, values[i]);
    return Outcome::ok();
}

Outcome SetupFiles::save()
{
    const QString name = dialogs_.saveFileName(kFilter, kSuffix);
    if (name.isEmpty())
        return Outcome::fail(Outcome::Kind::Refused);
    st_.setup_file_name = name;
    SetupValues values{};
    for (int i = 0; i < kSetupKeyCount; ++i)
        values[i] = view_.settingIndex(i);
    if (write_setup_file(name, values))
        return Outcome::ok();
    const QString text = QStringLiteral("Save file error");
    dialogs_.message(QString::fromLatin1(box_title::kError), text, BoxIcon::Error);
    return Outcome::fail(Outcome::Kind::FileProblem, text);
}
