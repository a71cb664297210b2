#include "app/log_window.h"

#include "link/dialogs.h"
#include "serial/recent_lines.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kShownLines = 2000;  // as many as the trace keeps
}

LogWindow::LogWindow(RecentLines& lines, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), lines_(lines), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("LogWindow"));
    setWindowTitle(tr("Link trace"));
    resize(560, 360);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("LogText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setMaximumBlockCount(kShownLines);
    text_->setFont(QFont(QStringLiteral("monospace")));
    text_->setAccessibleName(tr("Link trace lines"));
    save_ = new QPushButton(tr("Save..."), this);
    save_->setObjectName(QStringLiteral("LogSave"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);

    text_->setPlainText(lines_.lines().join(QLatin1Char('\n')));
    // Lines come from the port's threads as well: queued to this one.
    connect(&lines_, &RecentLines::lineAppended, this, [this](const QString& line) { text_->appendPlainText(line); },
            Qt::QueuedConnection);
    connect(save_, &QPushButton::clicked, this, &LogWindow::save);
}

QString LogWindow::shownText() const
{
    return text_->toPlainText();
}

void LogWindow::save()
{
    const QString path = dialogs_.saveFileName(tr("Log file (*.log)"), QStringLiteral("log"));
    if (path.isEmpty())
        return;
    QString error;
    if (!lines_.save(path, &error))
        dialogs_.message(tr("Error"), tr("Unable to write to %1\r\n%2").arg(path, error), BoxIcon::Error);
}
