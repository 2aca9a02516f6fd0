#pragma once

#include <QProxyStyle>

class TXPMenu;

namespace quill {

struct XPMenuPaint;

// The style that the menus, menu bars and toolbar buttons hooked by a TXPMenu carry:
// it measures and paints their items with the renderer's painter and leaves all else
// to the style underneath. It has no base of its own, so it follows the platform's
// style, which the program's look is built on (given the application's style it
// would take ownership of it).
class XPMenuStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit XPMenuStyle(const TXPMenu &renderer);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;

private:
    bool engaged() const;
    // For a paint on `painter`, whose device's pixel ratio the images are made at.
    XPMenuPaint paintContext(const QWidget *widget, const QPainter *painter = nullptr) const;
    void drawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget,
                      bool barItem) const;
    void drawToolSeparator(const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const;

    const TXPMenu &m_renderer;
};

} // namespace quill
