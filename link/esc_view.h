#pragma once
// What the link and the speed test show to the user while they run, and the
// one choice they ask of the user: the main window implements it with its
// controls, a console program with text, a test with plain fields.
//
// Calls come on the session's thread, inside the operations; each one shows
// at once. The core keeps its own state (flags, the ESC's label texts, the
// mode, the port list, throttle and pole count) and shows it from there:
// nothing shown is read back. The settings and a firmware update's progress
// are not shown through here: the operations take the values they work on as
// arguments and give back what they found, to whoever asked.

#include "link/shared_state.h"

#include <QString>
#include <QStringList>

class EscView {
public:
    virtual ~EscView() = default;

    // The status line (Label15).
    virtual void showStatus(const QString& text) = 0;
    // The port and setting-card lamp (shcom) and the ESC lamp (Shdt): red when lit.
    virtual void showCardLamp(bool lit) = 0;
    virtual void showEscLamp(bool lit) = 0;
    // The three ESC labels (Label2, Label3, Label4), exactly as given.
    virtual void showEscLabels(const QString& type, const QString& hwVersion, const QString& fwVersion) = 0;

    // The busy cursor while a command runs; calls nest (on, on, off, off).
    virtual void showBusy(bool on) = 0;

    // The operation mode whose switch has run: which mode button is
    // selected, and which controls are available (the parameter, file and
    // firmware commands in Parameter mode, the rotate-speed controls in Speed
    // mode).
    virtual void showMode(OperationMode mode) = 0;
    // The mode the user has selected. It runs ahead of the switch (which
    // waits while an exchange runs), and an ESC identified in between already
    // starts the speed test when Speed is selected.
    virtual OperationMode selectedMode() const = 0;
    // The rotate-speed group: the throttle text ("1500us", Edit1), the pole
    // count text (Edit2) and the rotate speed (Edit3).
    virtual void showThrottleText(const QString& text) = 0;
    virtual void showPoleCountText(const QString& text) = 0;
    virtual void showRotateSpeed(const QString& text) = 0;

    // The port box: the name of the port in use (or being tried), and the
    // ports offered.
    virtual void showPortName(const QString& name) = 0;
    virtual void showPortList(const QStringList& ports) = 0;
};
