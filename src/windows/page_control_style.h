#pragma once

#include <QProxyStyle>

namespace quill {

// The look of the main window's page control: tabs that light up under the
// mouse, and pages inset in the frame so each page is 475 x 269 pixels, the size
// its panels are designed for.
class PageControlStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget) const override;
};

} // namespace quill
