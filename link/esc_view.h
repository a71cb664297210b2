#pragma once
// What the operations show to the user and read from the user, and nothing
// else: the main window implements it with its controls, a console program
// with text, a test with plain fields. The link, the parameter, firmware and
// speed operations talk to the user only through this and through Dialogs.
//
// Calls come on the main thread, inside the operations; each one shows at
// once. The core keeps its own state (flags, the ESC's label texts, the mode,
// the port list, throttle and pole count) and shows it from there: nothing
// shown is read back. What the view is asked is the user's own choice: the
// eight setting selections and the selected mode.

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

    // The eight setting lists in frame order (pos 0 to 7): the item index the
    // user chose, -1 for a list without a selection. A value outside the
    // list's items selects nothing.
    virtual int settingIndex(int pos) const = 0;
    virtual void showSettingIndex(int pos, int index) = 0;

    // The firmware update's progress bar; value is within 0..maximum.
    virtual void showProgressMaximum(int maximum) = 0;
    virtual void showProgress(int value) = 0;

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
