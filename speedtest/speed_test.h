#pragma once
// The two operation modes and the rotate-speed test. In Speed mode Timer3
// sends one throttle code per tick and turns the ESC's period answer into a
// speed, shown once per four consistent samples.

#include <vector>

class Link;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;
class QWidget;
class WindowTimer;

class SpeedTest {
public:
    // Finds its controls under form by object name; timer3 is the window's
    // 5 ms poll timer, whose ticks the window routes to Timer3Timer.
    SpeedTest(Link& link, QWidget* form, WindowTimer& timer3);

    void RadioButton1Click();  // to Parameter mode
    void RadioButton2Click();  // to Speed mode
    void TrackBar1Change();
    void UpDown1Click();
    void Timer3Timer();
    void start_speed_test();

    // Run before the window closes its port: an ESC left in speed mode would
    // keep driving the motor with the last throttle code. Ends the poll.
    void beforeClose();

private:
    void poll();
    void showParameterMode(bool parameterMode);

    Link& link_;
    WindowTimer& timer3_;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QSlider* TrackBar1;
    QSpinBox* UpDown1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    std::vector<QWidget*> parameterControls_;  // greyed out in Speed mode
    std::vector<QWidget*> speedControls_;      // alive only in Speed mode
    // Speed mode has started Timer3 and no switch has stopped it. A switch to
    // Parameter run inside a tick's wait must not see the tick restart Timer3.
    bool polling_ = false;
    bool closing_ = false;  // nothing may drive the ESC once the window is closing
};
