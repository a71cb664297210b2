#pragma once
// The desktop style with the few changes the dark window needs: group boxes
// drawn the classic way, a light etched frame that starts halfway down the
// title and breaks for it (the stock frames vanish on dark blue), and radio
// buttons as compact as the window's narrow places for them.

#include <QProxyStyle>

class FormStyle : public QProxyStyle {
    Q_OBJECT
public:
    FormStyle();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

// Gives the style to the widget and to everything inside it. The one style
// object belongs to the application, so it outlives every window using it.
void apply_form_style(QWidget* form);
