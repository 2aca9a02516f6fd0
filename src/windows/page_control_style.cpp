#include "windows/page_control_style.h"

#include <QPainter>
#include <QStyleOptionTab>

namespace quill {

void HotTrackTabStyle::drawControl(ControlElement element, const QStyleOption *option,
                                   QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_TabBarTabShape)
        return;
    const bool hot = option->state.testFlag(State_MouseOver);
    const bool selected = option->state.testFlag(State_Selected);
    if (!hot || selected)
        return;
    // The hot tab gets the highlight colour along its top edge.
    QRect strip = option->rect.adjusted(2, 1, -2, 0);
    strip.setHeight(2);
    painter->fillRect(strip, option->palette.color(QPalette::Highlight));
}

} // namespace quill
