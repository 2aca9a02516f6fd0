#include "windows/look.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace quill {

void applyProgramLook(QApplication &app)
{
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    QApplication::setFont(font);
    app.setEffectEnabled(Qt::UI_AnimateMenu);
}

} // namespace quill
