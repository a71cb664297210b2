#pragma once
// The station's set-up: the setup file, the firmware, the spin check, the
// ports (every listed one, checked unless the user unchecked it, following
// plug and unplug) and where the records go. The last choices are kept in
// the station's own settings file, never in the main window's.

#include "station/plan_choices.h"

#include <QGroupBox>
#include <QSet>

class Dialogs;
class PortWatcher;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSettings;
class QSpinBox;

namespace station_window {

class SetupPanel : public QGroupBox {
    Q_OBJECT
public:
    SetupPanel(QSettings& settings, Dialogs& dialogs, PortWatcher& ports, QWidget* parent = nullptr);

    station::Choices choices() const;
    QString records() const;
    void remember() const;  // into the settings file

private:
    void showPorts(const QStringList& ports);
    void chooseSetup();
    void chooseImage();

    QSettings& settings_;
    Dialogs& dialogs_;
    QLineEdit* setup_;
    QRadioButton* noFirmware_;
    QRadioButton* pickedFirmware_;
    QRadioButton* fileFirmware_;
    QLineEdit* image_;
    QCheckBox* spin_;
    QSpinBox* throttle_;
    QSpinBox* minRpm_;
    QSpinBox* maxRpm_;
    QSpinBox* seconds_;
    QSpinBox* poles_;
    QListWidget* ports_;
    QLineEdit* records_;
    QSet<QString> unchecked_;  // ports the user unchecked, kept while they come and go
};

}  // namespace station_window
