#include "windows/page_control_style.h"

#include <QPainter>
#include <QStyleOptionTab>

#include <algorithm>

namespace quill {

void PageControlStyle::drawControl(ControlElement element, const QStyleOption *option,
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

namespace quill {

QRect PageControlStyle::subElementRect(SubElement element, const QStyleOption *option,
                                       const QWidget *widget) const
{
    const QRect rect = QProxyStyle::subElementRect(element, option, widget);
    if (element != SE_TabWidgetTabContents)
        return rect;
    // A page is 8 pixels narrower and 28 lower than the page control, as designed.
    const QRect control = option->rect;
    QRect page = rect;
    page.setSize(QSize(std::min(rect.width(), control.width() - 8),
                       std::min(rect.height(), control.height() - 28)));
    page.moveCenter(rect.center());
    return page;
}

} // namespace quill
