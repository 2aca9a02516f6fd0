#pragma once

#include "components/xp_menu_look.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class QMenu;
class QMenuBar;
class QStyle;
class QToolBar;
class QWidget;

namespace quill {
class XPMenuStyle;
} // namespace quill

// Gives the menus of the window that owns it a flat look: a light item background, a
// shaded column for pictures, a framed selection and thin separators. It makes the
// window's toolbars flat and paints their buttons to match.
//
// Qt draws a menu through the menu widget's style, so hooking a menu bar, menu or
// toolbar means setting the renderer's style on it; unhooking resets the style to
// the application's, and only where it is the renderer's. A widget that carries a
// style the application set itself keeps it unless OverrideOwnerDraw is on. Every
// menu counts on its own: a submenu does not take its parent menu's style.
//
// Nothing is hooked until Active is set. Colours are 32-bit values as
// colour_value.h describes; FontColor is the colour of Font.
class TXPMenu : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(quint32 FontColor READ fontColor WRITE setFontColor)
    Q_PROPERTY(quint32 Color READ color WRITE setColor)
    Q_PROPERTY(quint32 IconBackColor READ iconBackColor WRITE setIconBackColor)
    Q_PROPERTY(quint32 MenuBarColor READ menuBarColor WRITE setMenuBarColor)
    Q_PROPERTY(quint32 SelectColor READ selectColor WRITE setSelectColor)
    Q_PROPERTY(quint32 SelectBorderColor READ selectBorderColor WRITE setSelectBorderColor)
    Q_PROPERTY(quint32 SelectFontColor READ selectFontColor WRITE setSelectFontColor)
    Q_PROPERTY(quint32 DisabledColor READ disabledColor WRITE setDisabledColor)
    Q_PROPERTY(quint32 SeparatorColor READ separatorColor WRITE setSeparatorColor)
    Q_PROPERTY(quint32 CheckedColor READ checkedColor WRITE setCheckedColor)
    Q_PROPERTY(int IconWidth READ iconWidth WRITE setIconWidth)
    Q_PROPERTY(bool DrawSelect READ drawSelect WRITE setDrawSelect)
    Q_PROPERTY(bool UseSystemColors READ useSystemColors WRITE setUseSystemColors)
    Q_PROPERTY(bool OverrideOwnerDraw READ overrideOwnerDraw WRITE setOverrideOwnerDraw)
    Q_PROPERTY(bool Gradient READ gradient WRITE setGradient)
    Q_PROPERTY(bool FlatMenu READ flatMenu WRITE setFlatMenu)
    Q_PROPERTY(bool AutoDetect READ autoDetect WRITE setAutoDetect)
    Q_PROPERTY(bool Active READ active WRITE setActive)

public:
    explicit TXPMenu(QWidget *owner);
    ~TXPMenu() override;

    const quill::XPMenuSettings &settings() const { return m_settings; }
    // The style hooked widgets carry.
    QStyle *style() const;

    QFont font() const { return m_settings.font; }
    quint32 fontColor() const { return m_settings.fontColor; }
    quint32 color() const { return m_settings.color; }
    quint32 iconBackColor() const { return m_settings.iconBackColor; }
    quint32 menuBarColor() const { return m_settings.menuBarColor; }
    quint32 selectColor() const { return m_settings.selectColor; }
    quint32 selectBorderColor() const { return m_settings.selectBorderColor; }
    quint32 selectFontColor() const { return m_settings.selectFontColor; }
    quint32 disabledColor() const { return m_settings.disabledColor; }
    quint32 separatorColor() const { return m_settings.separatorColor; }
    quint32 checkedColor() const { return m_settings.checkedColor; }
    int iconWidth() const { return m_settings.iconWidth; }
    bool drawSelect() const { return m_settings.drawSelect; }
    bool useSystemColors() const { return m_settings.useSystemColors; }
    bool overrideOwnerDraw() const { return m_settings.overrideOwnerDraw; }
    bool gradient() const { return m_settings.gradient; }
    bool flatMenu() const { return m_settings.flatMenu; }
    bool autoDetect() const { return m_settings.autoDetect; }
    bool active() const { return m_settings.active; }

    // Font, its colour, MenuBarColor and UseSystemColors redraw the menu bar; the
    // others take effect at the next paint. What changes the items' sizes (the font,
    // the icon column, the flat frame) has the hooked menus measured again.
    void setFont(const QFont &font);
    void setFontColor(quint32 colour);
    void setColor(quint32 colour) { m_settings.color = colour; }
    void setIconBackColor(quint32 colour) { m_settings.iconBackColor = colour; }
    void setMenuBarColor(quint32 colour);
    void setSelectColor(quint32 colour) { m_settings.selectColor = colour; }
    void setSelectBorderColor(quint32 colour) { m_settings.selectBorderColor = colour; }
    void setSelectFontColor(quint32 colour) { m_settings.selectFontColor = colour; }
    void setDisabledColor(quint32 colour) { m_settings.disabledColor = colour; }
    void setSeparatorColor(quint32 colour) { m_settings.separatorColor = colour; }
    void setCheckedColor(quint32 colour) { m_settings.checkedColor = colour; }
    void setIconWidth(int width);
    void setDrawSelect(bool on) { m_settings.drawSelect = on; }
    void setUseSystemColors(bool on);
    // Re-hooks while active, so widgets with a style of their own follow the new value.
    void setOverrideOwnerDraw(bool on);
    void setGradient(bool on) { m_settings.gradient = on; }
    void setFlatMenu(bool on);
    // With AutoDetect on, an action or a menu added under the owner sets Active.
    void setAutoDetect(bool on);
    // True hooks everything under the owner afresh, picking up what was added since;
    // false unhooks everything. Either redraws the menu bar.
    void setActive(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void hookSubmenus();
    void lookForNewMenus();

private:
    QWidget *owner() const;
    void hookAll();
    void hookTree(QWidget *menuOrBar);
    void hookToolBar(QToolBar *toolBar);
    void hook(QWidget *widget);
    void unhook(QWidget *widget);
    bool watchNewMenus();
    void redrawMenuBars();
    void measureAgain();

    quill::XPMenuSettings m_settings;
    std::unique_ptr<quill::XPMenuStyle> m_style;
    // Qt deletes a window's children in the order they were made, so a hooked widget
    // may go before or after the renderer: both lists are guarded.
    QList<QPointer<QWidget>> m_hooked;
    QList<QPointer<QWidget>> m_watched;
    bool m_lookPending = false;
};
