#include "components/xp_menu.h"

#include "components/xp_menu_style.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <utility>

namespace {

bool isMenuOrBar(const QWidget *widget)
{
    return qobject_cast<const QMenu *>(widget) || qobject_cast<const QMenuBar *>(widget);
}

} // namespace

TXPMenu::TXPMenu(QWidget *owner)
    : QObject(owner)
    , m_style(std::make_unique<quill::XPMenuStyle>(*this))
{
    if (owner)
        owner->installEventFilter(this);
    watchNewMenus();
}

TXPMenu::~TXPMenu()
{
    m_settings.active = false;
    for (const QPointer<QWidget> &widget : std::as_const(m_hooked)) {
        if (widget)
            unhook(widget);
    }
}

QStyle *TXPMenu::style() const
{
    return m_style.get();
}

QWidget *TXPMenu::owner() const
{
    return qobject_cast<QWidget *>(parent());
}

// ---------------------------------------------------------------------------
// Setters with effects

void TXPMenu::setFont(const QFont &font)
{
    m_settings.font = font;
    measureAgain();
    redrawMenuBars();
}

void TXPMenu::setFontColor(quint32 colour)
{
    m_settings.fontColor = colour;
    redrawMenuBars();
}

void TXPMenu::setMenuBarColor(quint32 colour)
{
    m_settings.menuBarColor = colour;
    redrawMenuBars();
}

void TXPMenu::setIconWidth(int width)
{
    m_settings.iconWidth = width;
    measureAgain();
}

void TXPMenu::setUseSystemColors(bool on)
{
    m_settings.useSystemColors = on;
    measureAgain();
    redrawMenuBars();
}

void TXPMenu::setOverrideOwnerDraw(bool on)
{
    m_settings.overrideOwnerDraw = on;
    if (m_settings.active)
        setActive(true);
}

void TXPMenu::setFlatMenu(bool on)
{
    m_settings.flatMenu = on;
    measureAgain();
}

void TXPMenu::setAutoDetect(bool on)
{
    m_settings.autoDetect = on;
    if (on)
        watchNewMenus();
}

void TXPMenu::setActive(bool on)
{
    m_settings.active = on;
    // Hooking again leaves the widgets that keep the renderer's style untouched, so
    // re-activating costs nothing where nothing changed.
    const QList<QPointer<QWidget>> before = std::exchange(m_hooked, {});
    if (on)
        hookAll();
    for (const QPointer<QWidget> &widget : before) {
        if (widget && !m_hooked.contains(widget))
            unhook(widget);
    }
    redrawMenuBars();
}

// ---------------------------------------------------------------------------
// Hooking

void TXPMenu::hookAll()
{
    QWidget *window = owner();
    if (!window)
        return;
    watchNewMenus();
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (isMenuOrBar(child))
            hookTree(child);
        else if (auto *toolBar = qobject_cast<QToolBar *>(child))
            hookToolBar(toolBar);
    }
}

// The menu or bar and every menu below its items. One without items is left alone.
void TXPMenu::hookTree(QWidget *menuOrBar)
{
    if (menuOrBar->actions().isEmpty() || m_hooked.contains(menuOrBar))
        return;
    hook(menuOrBar);
    const QList<QAction *> actions = menuOrBar->actions();
    for (QAction *action : actions) {
        if (QMenu *submenu = action->menu())
            hookTree(submenu);
    }
}

void TXPMenu::hookToolBar(QToolBar *toolBar)
{
    const QList<QWidget *> parts = toolBar->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *part : parts) {
        if (auto *button = qobject_cast<QToolButton *>(part)) {
            button->setAutoRaise(true);
            hook(button);
        } else if (part->inherits("QToolBarSeparator")) {
            hook(part);
        }
    }
}

void TXPMenu::hook(QWidget *widget)
{
    if (m_hooked.contains(widget))
        return;
    if (widget->style() != m_style.get()) {
        if (widget->testAttribute(Qt::WA_SetStyle) && !m_settings.overrideOwnerDraw)
            return;
        widget->setStyle(m_style.get());
    }
    m_hooked.append(widget);
    if (auto *menu = qobject_cast<QMenu *>(widget))
        connect(menu, &QMenu::aboutToShow, this, &TXPMenu::hookSubmenus, Qt::UniqueConnection);
    // A bar handed to the desktop's global menu would not be drawn by any style.
    if (auto *bar = qobject_cast<QMenuBar *>(widget))
        bar->setNativeMenuBar(false);
}

void TXPMenu::unhook(QWidget *widget)
{
    if (widget->style() == m_style.get())
        widget->setStyle(nullptr);
    if (auto *menu = qobject_cast<QMenu *>(widget))
        disconnect(menu, &QMenu::aboutToShow, this, &TXPMenu::hookSubmenus);
}

// A menu about to open: the menus below its items are hooked if they are not yet, so
// those added since the last hooking are styled before they open.
void TXPMenu::hookSubmenus()
{
    auto *menu = qobject_cast<QMenu *>(sender());
    if (!menu || !m_settings.active)
        return;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (QMenu *submenu = action->menu())
            hookTree(submenu);
    }
}

// ---------------------------------------------------------------------------
// Detecting new menus

bool TXPMenu::watchNewMenus()
{
    QWidget *window = owner();
    if (!window)
        return false;
    bool found = false;
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if ((isMenuOrBar(child) || qobject_cast<QToolBar *>(child)) && !m_watched.contains(child)) {
            child->installEventFilter(this);
            m_watched.append(child);
            found = true;
        }
    }
    m_watched.removeAll(nullptr);
    return found;
}

void TXPMenu::lookForNewMenus()
{
    m_lookPending = false;
    if (watchNewMenus() && m_settings.autoDetect)
        setActive(true);
}

bool TXPMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (m_settings.autoDetect) {
        if (event->type() == QEvent::ActionAdded) {
            setActive(true);
        } else if (event->type() == QEvent::ChildAdded && !m_lookPending &&
                   static_cast<QChildEvent *>(event)->child()->isWidgetType()) {
            // The child is not built yet: look at it once it is.
            m_lookPending = true;
            QMetaObject::invokeMethod(this, &TXPMenu::lookForNewMenus, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Redrawing

void TXPMenu::redrawMenuBars()
{
    if (QWidget *window = owner()) {
        const QList<QMenuBar *> bars = window->findChildren<QMenuBar *>();
        for (QMenuBar *bar : bars)
            bar->update();
    }
}

// Menus keep the sizes their items asked for; a style change has them ask again.
void TXPMenu::measureAgain()
{
    for (const QPointer<QWidget> &widget : std::as_const(m_hooked)) {
        if (widget) {
            QEvent change(QEvent::StyleChange);
            QCoreApplication::sendEvent(widget, &change);
        }
    }
}
