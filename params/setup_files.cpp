#include "params/setup_files.h"

#include "link/link.h"
#include "link/scoped_cursor.h"
#include "params/setting_lists.h"
#include "params/setup_file_format.h"

#include <QApplication>
#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("Zelt File (*.zelt)");
const QString kSuffix = QStringLiteral("zelt");
}  // namespace

SetupFiles::SetupFiles(Link& link, QWidget* form) : link_(link), form_(form) {}

void SetupFiles::Button7Click()
{
    const QString name = link_.dialogs().openFileName(kFilter, kSuffix);
    if (name.isEmpty())
        return;
    const ScopedCursor hourglass(Qt::WaitCursor);
    link_.state().setup_file_name = QFileInfo(name).absoluteFilePath();
    QCoreApplication::processEvents();
    const SetupValues values = read_setup_file(name);
    for (int i = 0; i < kSetupKeyCount; ++i)
        assign_list_value(form_, i, values[i]);
}

void SetupFiles::Button8Click()
{
    const QString name = link_.dialogs().saveFileName(kFilter, kSuffix);
    if (name.isEmpty())
        return;
    link_.state().setup_file_name = name;
    SetupValues values{};
    for (int i = 0; i < kSetupKeyCount; ++i)
        values[i] = list_value(form_, i);
    if (!write_setup_file(name, values))
        link_.dialogs().message(QStringLiteral("Error"), QStringLiteral("Save file error"), BoxIcon::Error);
}
