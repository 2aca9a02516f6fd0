#include "windows/look.h"

#include <QApplication>
#include <QFont>
#include <QProxyStyle>
#include <QStyleFactory>

namespace quill {
namespace {

// Fusion as the program wants it: a list drops down below its box as a scrolled
// list of its visible rows, instead of a popup over the box that can fill the screen.
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
