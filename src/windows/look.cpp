#include "windows/look.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace quill {
namespace {

// A group box without a check box: the kind the windows use.
const QStyleOptionGroupBox *plainGroupBox(const QStyleOption *option)
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    return box && !(box->subControls & QStyle::SC_GroupBoxCheckBox) ? box : nullptr;
}

// Fusion as the program wants it: a list drops down below its box as a scrolled
// list of its visible rows, instead of a popup over the box that can fill the screen;
// a group box's etched frame runs through the middle of its caption, which stands 8
// pixels in, so the controls placed just below the caption clear the frame.
class ProgramStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl subControl, const QWidget *widget) const override
    {
        const QStyleOptionGroupBox *box = control == CC_GroupBox ? plainGroupBox(option) : nullptr;
        if (!box || (subControl != SC_GroupBoxFrame && subControl != SC_GroupBoxLabel))
            return QProxyStyle::subControlRect(control, option, subControl, widget);
        const int textHeight = box->fontMetrics.height();
        if (subControl == SC_GroupBoxFrame)
            return option->rect.adjusted(0, textHeight / 2 - 1, 0, 0);
        if (box->text.isEmpty())
            return {};
        const QSize text = box->fontMetrics.size(Qt::TextShowMnemonic, box->text);
        return {option->rect.left() + 8, option->rect.top(), text.width(), textHeight};
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        const QStyleOptionGroupBox *box = control == CC_GroupBox ? plainGroupBox(option) : nullptr;
        if (!box) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
        const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
        // The frame stops either side of the caption; what lies behind shows through.
        painter->save();
        painter->setClipRegion(QRegion(option->rect) - label);
        qDrawShadeRect(painter, frame, option->palette, true, 1, 0);
        painter->restore();
        if (label.isEmpty())
            return;
        const bool mnemonics = styleHint(SH_UnderlineShortcut, option, widget, nullptr);
        drawItemText(painter, label,
                     Qt::AlignLeft | Qt::AlignVCenter |
                         (mnemonics ? Qt::TextShowMnemonic : Qt::TextHideMnemonic),
                     option->palette, option->state & State_Enabled, box->text,
                     QPalette::WindowText);
    }
};

} // namespace

void applyProgramLook(QApplication &app)
{
    QApplication::setStyle(new ProgramStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    QApplication::setFont(font);
    app.setEffectEnabled(Qt::UI_AnimateMenu);
}

} // namespace quill
