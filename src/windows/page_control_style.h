#pragma once

#include <QProxyStyle>

namespace quill {

// Page tabs that light up under the mouse, as the page control of the main window
// asks for; everything else is drawn by the program's style.
class HotTrackTabStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};

} // namespace quill
