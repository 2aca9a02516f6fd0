#include "components/grad_progress.h"

#include "components/colour_value.h"
#include "document/mul_div.h"

#include <QAccessibleWidget>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>

using quill::MulDiv;

namespace {

// What screen readers learn of the bar: a progress bar with its position out of MaxValue.
class AccessibleGradProgress : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleGradProgress(TGradProgress *bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return bar()->position(); }
    void setCurrentValue(const QVariant &) override {} // shown, not set, by the user
    QVariant maximumValue() const override { return bar()->maxValue(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return bar()->step(); }

private:
    TGradProgress *bar() const { return static_cast<TGradProgress *>(widget()); }
};

QAccessibleInterface *accessibleGradProgress(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(TGradProgress::staticMetaObject.className()))
        return new AccessibleGradProgress(static_cast<TGradProgress *>(object));
    return nullptr;
}

const QColor bevelGrey(0x80, 0x80, 0x80);
const QColor bevelWhite(0xFF, 0xFF, 0xFF);

// A horizontal or vertical line that includes its start point and excludes its end
// point, drawn as a filled span so no pen cap can add the end pixel.
void drawLine(QPainter &painter, QPoint from, QPoint to, const QColor &colour)
{
    const auto span = [](int a, int b) {
        return a <= b ? std::pair(a, b - 1) : std::pair(b + 1, a);
    };
    if (from.y() == to.y()) {
        const auto [left, right] = span(from.x(), to.x());
        painter.fillRect(QRect(QPoint(left, from.y()), QPoint(right, from.y())), colour);
    } else {
        const auto [top, bottom] = span(from.y(), to.y());
        painter.fillRect(QRect(QPoint(from.x(), top), QPoint(from.x(), bottom)), colour);
    }
}

} // namespace

TGradProgress::TGradProgress(QWidget *parent)
    : QWidget(parent)
    , m_backColor(quill::ButtonFaceColour)
{
    static const bool accessible = (QAccessible::installFactory(accessibleGradProgress), true);
    Q_UNUSED(accessible);
    resize(150, 16);
    // The application's face, without the style the application font may carry.
    setFont(QFont(QFont().family(), 10));
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    deriveComponents();
}

void TGradProgress::setBevelStyle(TBevelStyle style)
{
    if (style == m_bevelStyle)
        return;
    m_bevelStyle = style;
    repaint();
}

void TGradProgress::setBevelWidth(int width)
{
    if (width == m_bevelWidth)
        return;
    if (width >= 1 && width <= 10 && 2 * width <= this->width() - 4)
        m_bevelWidth = width;
    repaint();
}

void TGradProgress::setStartColor(quint32 colour)
{
    if (colour == m_startColor)
        return;
    m_startColor = colour;
    deriveComponents();
    repaint();
}

void TGradProgress::setEndColor(quint32 colour)
{
    if (colour == m_endColor)
        return;
    m_endColor = colour;
    deriveComponents();
    repaint();
}

void TGradProgress::setPosition(int position)
{
    if (position == m_position || position < 0 || position > m_maxValue)
        return;
    m_position = position;
    repaint();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, position);
        QAccessible::updateAccessibility(&event);
    }
}

void TGradProgress::setMaxValue(int maxValue)
{
    if (maxValue == m_maxValue)
        return;
    m_maxValue = maxValue;
    if (m_maxValue < m_position)
        m_position = m_maxValue;
    repaint();
}

void TGradProgress::setStep(int step)
{
    m_step = step;
}

void TGradProgress::setShowPercent(bool show)
{
    if (show == m_showPercent)
        return;
    m_showPercent = show;
    repaint();
}

void TGradProgress::setBackColor(quint32 colour)
{
    if (colour == m_backColor)
        return;
    m_backColor = colour;
    repaint();
}

void TGradProgress::Stepit()
{
    // Summed in 64 bits: a step past the 32-bit range is out of range like any other.
    const qint64 next = qint64(m_position) + m_step;
    if (next >= 0 && next <= m_maxValue)
        setPosition(int(next));
}

void TGradProgress::deriveComponents()
{
    const auto byte = [](quint32 colour, int shift) { return int((colour >> shift) & 0xFF); };
    m_r0 = byte(m_startColor, 0);
    m_g0 = byte(m_startColor, 8);
    m_b0 = byte(m_startColor, 16);
    m_dR = byte(m_endColor, 0) - m_r0;
    m_dG = byte(m_endColor, 8) - m_g0;
    m_dB = byte(m_endColor, 16) - m_b0;
}

void TGradProgress::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    const int bw = m_bevelWidth;

    // The frame: the top and left bands are bw + 1 pixels thick, the bottom and right
    // ones bw (their first lines fall just outside the widget), and the top-right and
    // bottom-left corner pixels belong to the top and left bands.
    QPainter painter(this);
    const QColor &topLeft = m_bevelStyle == bsLowered ? bevelGrey : bevelWhite;
    const QColor &bottomRight = m_bevelStyle == bsLowered ? bevelWhite : bevelGrey;
    for (int i = 0; i <= bw; ++i) {
        drawLine(painter, {i, i}, {w - i, i}, topLeft);
        drawLine(painter, {i, i}, {i, h - i}, topLeft);
    }
    for (int i = 0; i <= bw; ++i) {
        drawLine(painter, {w - i, h - i}, {w - i, i - 1}, bottomRight);
        drawLine(painter, {w - i, h - i}, {i - 1, h - i}, bottomRight);
    }

    const QRect inner(QPoint(bw + 1, bw + 1), QPoint(w - bw - 1, h - bw - 1));
    if (inner.isEmpty())
        return; // Smaller than its frame: nothing of the inside shows.

    // Composed off screen in the widget's coordinates and copied in one piece, so the
    // bar does not flicker when it is repainted line after line; at the screen's pixel
    // ratio, so the percentage stays sharp. That is the ratio of what is painted on in the
    // end (the window's buffer, or the image the widget is rendered into).
    const QPaintDevice *target = painter.paintEngine()->paintDevice();
    const qreal ratio = (target ? target : painter.device())->devicePixelRatio();
    QImage image(QSize(w - bw, h - bw) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter canvas(&image);

    const int filled = MulDiv(m_position, w, m_maxValue);
    // The last column passes the end colour by one unit when the scale reaches 256;
    // clamped, so a full step of 255 does not wrap round to the other end.
    const auto component = [](int start, int t, int delta) {
        return std::clamp(start + MulDiv(t, delta, 255), 0, 255);
    };
    QColor columnColour(Qt::black);
    for (int x = 0; x <= filled; ++x) {
        const int t = MulDiv(256, x, filled);
        columnColour.setRgb(component(m_r0, t, m_dR), component(m_g0, t, m_dG),
                            component(m_b0, t, m_dB));
        drawLine(canvas, {x, bw + 1}, {x, h - bw}, columnColour);
    }

    // The rest, outlined in the last column's colour: of the outline only its left
    // side, on that last column, lies in the part that is shown.
    const QRect rest(QPoint(filled, bw), QPoint(w - 1, h - 1));
    canvas.fillRect(rest, quill::toQColor(m_backColor, palette()));
    drawLine(canvas, rest.topLeft(), rest.topRight(), columnColour);
    drawLine(canvas, rest.topRight(), rest.bottomRight(), columnColour);
    drawLine(canvas, rest.bottomRight(), rest.bottomLeft(), columnColour);
    drawLine(canvas, rest.bottomLeft(), rest.topLeft(), columnColour);

    if (m_showPercent) {
        QFont percentFont = font();
        percentFont.setStyleStrategy(QFont::NoAntialias);
        canvas.setFont(percentFont);
        canvas.setPen(palette().color(QPalette::WindowText));
        canvas.drawText(inner, Qt::AlignCenter | Qt::TextSingleLine,
                        QString::number(MulDiv(filled, 100, w)) + QLatin1Char('%'));
    }
    canvas.end();

    painter.drawImage(QRectF(inner), image,
                      QRectF(QPointF(inner.topLeft()) * ratio, QSizeF(inner.size()) * ratio));
}
