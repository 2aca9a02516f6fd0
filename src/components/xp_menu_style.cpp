#include "components/xp_menu_style.h"

#include "components/xp_menu.h"
#include "components/xp_menu_painter.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionMenuItem>
#include <QToolBar>

#include <algorithm>

namespace quill {

namespace {

constexpr int IconSize = 16;
constexpr int MenuItemRoom = 12;
constexpr int BarItemRoom = 7 + 5;

// The picture at `size` device-independent pixels, drawn at the device's pixel ratio.
QImage iconImage(const QIcon &icon, QSize size, qreal devicePixelRatio)
{
    if (icon.isNull())
        return {};
    QImage image = icon.pixmap(size, devicePixelRatio).toImage();
    const QSize pixels = size * devicePixelRatio;
    if (image.size() != pixels)
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(devicePixelRatio);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The item from what Qt tells: the option names no action, so its text carries the
// caption and the shortcut, separated by a tab.
XPMenuItem menuItem(const QStyleOptionMenuItem &option, bool barItem, qreal devicePixelRatio = 1.0)
{
    XPMenuItem item;
    const qsizetype tab = option.text.indexOf(u'\t');
    item.caption = option.text.left(tab);
    if (tab >= 0)
        item.shortcut = option.text.mid(tab + 1);
    item.icon = iconImage(option.icon, QSize(IconSize, IconSize), devicePixelRatio);
    item.separator = option.menuItemType == QStyleOptionMenuItem::Separator;
    item.barItem = barItem;
    item.enabled = option.state.testFlag(QStyle::State_Enabled);
    item.selected = option.state.testFlag(QStyle::State_Selected);
    item.checked = option.checkType != QStyleOptionMenuItem::NotCheckable && option.checked;
    item.radio = option.checkType == QStyleOptionMenuItem::Exclusive;
    item.isDefault = option.menuItemType == QStyleOptionMenuItem::DefaultItem;
    item.rightToLeft = option.direction == Qt::RightToLeft;
    return item;
}

// The side of the square a submenu arrow is drawn in, for an item of `height`.
int arrowSize(int height)
{
    return std::max(height - 4, 0) / 2;
}

// Whether the menu opens from a menu bar, directly or through other menus: a menu
// shows its shortcuts there even when the actions keep them out of context menus.
bool opensFromMenuBar(const QMenu &menu)
{
    const QList<QObject *> owners = menu.menuAction()->associatedObjects();
    return std::any_of(owners.begin(), owners.end(), [&menu](QObject *owner) {
        if (qobject_cast<QMenuBar *>(owner))
            return true;
        const auto *parent = qobject_cast<QMenu *>(owner);
        return parent && parent != &menu && opensFromMenuBar(*parent);
    });
}

// The width a menu adds to its items for their shortcuts: the widest shortcut it shows,
// in the menu's font, as the menu measures it.
int shortcutColumn(const QMenu &menu)
{
    const QFontMetrics metrics = menu.fontMetrics();
    const bool fromMenuBar = opensFromMenuBar(menu);
    int widest = 0;
    for (const QAction *action : menu.actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QString text = action->text();
        QString shortcut;
        if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0)
            shortcut = text.mid(tab + 1);
        else if (action->isShortcutVisibleInContextMenu() || fromMenuBar)
            shortcut = action->shortcut().toString(QKeySequence::NativeText);
        widest = std::max(widest, metrics.horizontalAdvance(shortcut));
    }
    return widest;
}

bool isHighColour(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return !screen || screen->depth() > 15;
}

} // namespace

XPMenuStyle::XPMenuStyle(const TXPMenu &renderer)
    : m_renderer(renderer)
{}

bool XPMenuStyle::engaged() const
{
    return m_renderer.active();
}

XPMenuPaint XPMenuStyle::paintContext(const QWidget *widget, const QPainter *painter) const
{
    XPMenuPaint paint =
        quill::paintContext(m_renderer.settings(), QApplication::palette(), isHighColour(widget));
    if (painter && painter->device())
        paint.devicePixelRatio = painter->device()->devicePixelRatio();
    return paint;
}

void XPMenuStyle::drawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget,
                               bool barItem) const
{
    const auto *menuOption = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (!menuOption)
        return;
    const XPMenuPaint paint = paintContext(widget, painter);
    const XPMenuItem item = menuItem(*menuOption, barItem, paint.devicePixelRatio);
    const QRect rect = menuOption->rect;
    painter->drawImage(rect.topLeft(), paintItem(item, rect.size(), paint));
    if (barItem || menuOption->menuItemType != QStyleOptionMenuItem::SubMenu)
        return;

    // The submenu arrow at the far edge, as the style underneath draws arrows.
    QStyleOption arrow = *option;
    const int size = arrowSize(rect.height());
    const int x = item.rightToLeft ? rect.left() + 3 : rect.right() - 2 - size;
    arrow.rect = QRect(x, rect.top() + (rect.height() - size) / 2, size, size);
    arrow.state = State_Enabled;
    const QColor colour = QColor::fromRgb(captionColour(item, paint.colours));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        arrow.palette.setColor(role, colour);
    QProxyStyle::drawPrimitive(item.rightToLeft ? PE_IndicatorArrowLeft : PE_IndicatorArrowRight,
                               &arrow, painter, widget);
}

void XPMenuStyle::drawToolSeparator(const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    // A separator gets a divider when its action's Tag is above 0.
    bool line = false;
    if (const auto *toolBar = widget ? qobject_cast<QToolBar *>(widget->parentWidget()) : nullptr) {
        const QList<QAction *> actions = toolBar->actions();
        const auto own = std::find_if(actions.begin(), actions.end(), [&](QAction *action) {
            return toolBar->widgetForAction(action) == widget;
        });
        line = own != actions.end() && (*own)->property("Tag").toInt() > 0;
    }
    painter->drawImage(option->rect.topLeft(),
                       paintToolSeparator(option->rect.size(), line,
                                          option->state.testFlag(State_Horizontal),
                                          paintContext(widget, painter)));
}

void XPMenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    if (engaged()) {
        switch (element) {
        case CE_MenuItem:
            drawMenuItem(option, painter, widget, false);
            return;
        case CE_MenuBarItem:
            drawMenuItem(option, painter, widget, true);
            return;
        case CE_MenuBarEmptyArea:
            painter->fillRect(option->rect, QColor::fromRgb(paintContext(widget).colours.menuBar));
            return;
        case CE_MenuEmptyArea:
            if (m_renderer.flatMenu()) {
                painter->fillRect(option->rect,
                                  QColor::fromRgb(paintContext(widget).colours.itemBackground));
                return;
            }
            break;
        default:
            break;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void XPMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    if (engaged()) {
        switch (element) {
        case PE_PanelMenu:
            if (m_renderer.flatMenu()) {
                painter->fillRect(option->rect,
                                  QColor::fromRgb(paintContext(widget).colours.itemBackground));
                return;
            }
            break;
        case PE_FrameMenu:
            if (m_renderer.flatMenu()) {
                paintFlatFrame(*painter, widget ? widget->rect() : option->rect,
                               paintContext(widget), option->direction == Qt::RightToLeft);
                return;
            }
            break;
        case PE_IndicatorToolBarSeparator:
            drawToolSeparator(option, painter, widget);
            return;
        default:
            break;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void XPMenuStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                     QPainter *painter, const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option);
    if (!engaged() || control != CC_ToolButton || !button || !widget ||
        !qobject_cast<QToolBar *>(widget->parentWidget())) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    XPToolButton tool;
    if (button->toolButtonStyle != Qt::ToolButtonIconOnly)
        tool.caption = button->text;
    const XPMenuPaint paint = paintContext(widget, painter);
    if (button->toolButtonStyle != Qt::ToolButtonTextOnly)
        tool.icon = iconImage(button->icon, button->iconSize, paint.devicePixelRatio);
    tool.enabled = button->state.testFlag(State_Enabled);
    tool.hot = button->state.testFlag(State_MouseOver);
    tool.pressed = button->state.testFlag(State_Sunken);
    tool.checked = button->state.testFlag(State_On);
    if (button->features.testFlag(QStyleOptionToolButton::MenuButtonPopup))
        tool.dropDownWidth = proxy()->pixelMetric(PM_MenuButtonIndicator, button, widget);
    painter->drawImage(button->rect.topLeft(), paintToolButton(tool, button->rect.size(), paint));
}

int XPMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                             const QWidget *widget) const
{
    if (engaged()) {
        switch (metric) {
        // Items stand edge to edge at the sizes they ask for.
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuBarHMargin:
        case PM_MenuBarVMargin:
        case PM_MenuBarItemSpacing:
        case PM_MenuBarPanelWidth:
            return 0;
        case PM_MenuPanelWidth:
            // The flat frame, or the platform's frame of at least a pixel.
            if (m_renderer.flatMenu())
                return 3;
            return std::max(QProxyStyle::pixelMetric(metric, option, widget), 1);
        default:
            break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize XPMenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                    const QSize &size, const QWidget *widget) const
{
    const auto *menuOption = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (!engaged() || !menuOption || (type != CT_MenuItem && type != CT_MenuBarItem))
        return QProxyStyle::sizeFromContents(type, option, size, widget);

    const XPMenuSettings &settings = m_renderer.settings();
    const XPMenuItem item = menuItem(*menuOption, type == CT_MenuBarItem);
    QSize wanted = measureItem(item, textMetrics(paintFont(settings)), settings.iconWidth);
    if (item.separator)
        return QSize(std::max(wanted.width(), size.width()), wanted.height());
    // Room beyond the measured width: the platform the look comes from gives every
    // owner-drawn menu item the width of a check mark more, which also holds a submenu's
    // arrow; a bar item needs the shadow of its highlight and a margin like its left one.
    if (item.barItem)
        wanted.rwidth() += BarItemRoom;
    else if (menuOption->menuItemType == QStyleOptionMenuItem::SubMenu)
        wanted.rwidth() += std::max(MenuItemRoom, arrowSize(wanted.height()) + 4);
    else
        wanted.rwidth() += MenuItemRoom;
    // A menu adds the width of its widest shortcut to its widest item afterwards, so an
    // item asks for its width less that: the menu is then exactly as wide as its widest
    // item, whichever item has the widest shortcut.
    if (const auto *menu = qobject_cast<const QMenu *>(widget))
        wanted.rwidth() -= shortcutColumn(*menu);
    return wanted.expandedTo(size);
}

} // namespace quill
