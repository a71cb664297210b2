#include "station_window/setup_panel.h"

#include "link/dialogs.h"
#include "serial/port_watcher.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>

namespace station_window {
namespace {

QSpinBox* number_box(int lowest, int highest, int value, const QString& name, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(lowest, highest);
    box->setValue(value);
    box->setAccessibleName(name);
    return box;
}

// A line edit and its Choose button, side by side.
QWidget* with_button(QLineEdit* edit, QPushButton* button, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit);
    layout->addWidget(button);
    return row;
}

}  // namespace

SetupPanel::SetupPanel(QSettings& settings, Dialogs& dialogs, PortWatcher& watcher, QWidget* parent)
    : QGroupBox(tr("Set-up"), parent),
      settings_(settings),
      dialogs_(dialogs),
      setup_(new QLineEdit(this)),
      noFirmware_(new QRadioButton(tr("No firmware update"), this)),
      pickedFirmware_(new QRadioButton(tr("The image for the ESC's model"), this)),
      fileFirmware_(new QRadioButton(tr("This image:"), this)),
      image_(new QLineEdit(this)),
      spin_(new QCheckBox(tr("Spin check"), this)),
      throttle_(number_box(900, 2100, 1500, tr("Spin check throttle in microseconds"), this)),
      minRpm_(number_box(0, 1000000, 1000, tr("Spin check lowest rpm"), this)),
      maxRpm_(number_box(0, 1000000, 20000, tr("Spin check highest rpm"), this)),
      seconds_(number_box(1, 60, 3, tr("Spin check seconds"), this)),
      poles_(number_box(2, 98, 14, tr("Motor poles"), this)),
      ports_(new QListWidget(this)),
      records_(new QLineEdit(this))
{
    setAccessibleName(tr("Set-up"));
    setup_->setAccessibleName(tr("Setup file"));
    setup_->setPlaceholderText(tr("none: the settings are not written"));
    auto* chooseSetup = new QPushButton(tr("Choose..."), this);
    chooseSetup->setAccessibleName(tr("Choose the setup file"));
    connect(chooseSetup, &QPushButton::clicked, this, &SetupPanel::chooseSetup);
    noFirmware_->setAccessibleName(tr("No firmware update"));
    pickedFirmware_->setAccessibleName(tr("Update to the image for the ESC's model"));
    fileFirmware_->setAccessibleName(tr("Update to this image"));
    image_->setAccessibleName(tr("Firmware image"));
    auto* chooseImage = new QPushButton(tr("Choose..."), this);
    chooseImage->setAccessibleName(tr("Choose the firmware image"));
    connect(chooseImage, &QPushButton::clicked, this, &SetupPanel::chooseImage);
    spin_->setAccessibleName(tr("Spin check"));
    auto* propeller = new QLabel(tr("Take the propeller off"), this);
    propeller->setObjectName(QStringLiteral("propeller"));
    QFont bold = propeller->font();
    bold.setBold(true);
    propeller->setFont(bold);
    ports_->setAccessibleName(tr("Ports"));
    records_->setAccessibleName(tr("Records"));
    records_->setPlaceholderText(tr("the station's own SQLite file"));
    records_->setToolTip(tr("FILE.sqlite, or postgresql://user@host[:port]/database"));

    auto* spinRow = new QWidget(this);
    auto* spinLayout = new QHBoxLayout(spinRow);
    spinLayout->setContentsMargins(0, 0, 0, 0);
    spinLayout->addWidget(spin_);
    spinLayout->addWidget(propeller);
    spinLayout->addStretch();
    auto* spinForm = new QFormLayout;
    spinForm->addRow(tr("Throttle (us)"), throttle_);
    spinForm->addRow(tr("Lowest rpm"), minRpm_);
    spinForm->addRow(tr("Highest rpm"), maxRpm_);
    spinForm->addRow(tr("Seconds"), seconds_);
    spinForm->addRow(tr("Motor poles"), poles_);

    auto* form = new QFormLayout(this);
    form->addRow(tr("Setup file"), with_button(setup_, chooseSetup, this));
    form->addRow(tr("Firmware"), noFirmware_);
    form->addRow(QString(), pickedFirmware_);
    form->addRow(QString(), fileFirmware_);
    form->addRow(QString(), with_button(image_, chooseImage, this));
    form->addRow(spinRow);
    form->addRow(spinForm);
    form->addRow(tr("Ports"), ports_);
    form->addRow(tr("Records"), records_);

    settings_.beginGroup(QStringLiteral("station"));
    setup_->setText(settings_.value(QStringLiteral("setup")).toString());
    const QString firmware = settings_.value(QStringLiteral("firmware"), QStringLiteral("none")).toString();
    (firmware == QLatin1String("model")  ? pickedFirmware_
     : firmware == QLatin1String("file") ? fileFirmware_
                                         : noFirmware_)
        ->setChecked(true);
    image_->setText(settings_.value(QStringLiteral("image")).toString());
    spin_->setChecked(settings_.value(QStringLiteral("spin"), false).toBool());
    throttle_->setValue(settings_.value(QStringLiteral("spinThrottle"), throttle_->value()).toInt());
    minRpm_->setValue(settings_.value(QStringLiteral("spinMinRpm"), minRpm_->value()).toInt());
    maxRpm_->setValue(settings_.value(QStringLiteral("spinMaxRpm"), maxRpm_->value()).toInt());
    seconds_->setValue(settings_.value(QStringLiteral("spinSeconds"), seconds_->value()).toInt());
    poles_->setValue(settings_.value(QStringLiteral("poles"), poles_->value()).toInt());
    const QStringList unchecked = settings_.value(QStringLiteral("uncheckedPorts")).toStringList();
    unchecked_ = QSet<QString>(unchecked.begin(), unchecked.end());
    records_->setText(settings_.value(QStringLiteral("records")).toString());
    settings_.endGroup();

    connect(ports_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (item->checkState() == Qt::Checked)
            unchecked_.remove(item->text());
        else
            unchecked_.insert(item->text());
    });
    connect(&watcher, &PortWatcher::portsChanged, this, &SetupPanel::showPorts);
    showPorts(watcher.ports());
}

void SetupPanel::showPorts(const QStringList& ports)
{
    const QSignalBlocker quiet(ports_);
    ports_->clear();
    for (const QString& port : ports) {
        auto* item = new QListWidgetItem(port, ports_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(unchecked_.contains(port) ? Qt::Unchecked : Qt::Checked);
    }
}

station::Choices SetupPanel::choices() const
{
    station::Choices c;
    for (int i = 0; i < ports_->count(); ++i)
        if (ports_->item(i)->checkState() == Qt::Checked)
            c.ports.append(ports_->item(i)->text());
    c.firmware = !noFirmware_->isChecked();
    if (fileFirmware_->isChecked())
        c.image = image_->text().trimmed();
    c.setup = setup_->text().trimmed();
    if (spin_->isChecked())
        c.spin = station::SpinCheck{throttle_->value(), minRpm_->value(), maxRpm_->value(), seconds_->value(),
                                    poles_->value()};
    return c;
}

QString SetupPanel::records() const
{
    return records_->text().trimmed();
}

void SetupPanel::remember() const
{
    settings_.beginGroup(QStringLiteral("station"));
    settings_.setValue(QStringLiteral("setup"), setup_->text().trimmed());
    settings_.setValue(QStringLiteral("firmware"), pickedFirmware_->isChecked() ? QStringLiteral("model")
                                                   : fileFirmware_->isChecked() ? QStringLiteral("file")
                                                                                : QStringLiteral("none"));
    settings_.setValue(QStringLiteral("image"), image_->text().trimmed());
    settings_.setValue(QStringLiteral("spin"), spin_->isChecked());
    settings_.setValue(QStringLiteral("spinThrottle"), throttle_->value());
    settings_.setValue(QStringLiteral("spinMinRpm"), minRpm_->value());
    settings_.setValue(QStringLiteral("spinMaxRpm"), maxRpm_->value());
    settings_.setValue(QStringLiteral("spinSeconds"), seconds_->value());
    settings_.setValue(QStringLiteral("poles"), poles_->value());
    QStringList unchecked(unchecked_.begin(), unchecked_.end());
    unchecked.sort();
    settings_.setValue(QStringLiteral("uncheckedPorts"), unchecked);
    settings_.setValue(QStringLiteral("records"), records_->text().trimmed());
    settings_.endGroup();
    settings_.sync();
}

void SetupPanel::chooseSetup()
{
    const QString path = dialogs_.openFileName(tr("Setup file (*.zelt *.ini)"), QStringLiteral("zelt"));
    if (!path.isEmpty())
        setup_->setText(path);
}

void SetupPanel::chooseImage()
{
    const QString path = dialogs_.openFileName(tr("Firmware image (*.blo)"), QStringLiteral("blo"));
    if (!path.isEmpty()) {
        image_->setText(path);
        fileFirmware_->setChecked(true);
    }
}

}  // namespace station_window
