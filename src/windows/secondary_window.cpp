#include "windows/secondary_window.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace quill {

SecondaryWindow::SecondaryWindow(const QString &caption, QSize clientSize, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(caption);
    setFixedSize(clientSize);
}

void SecondaryWindow::showOver(QWidget &owner)
{
    if (!m_placed) {
        m_placed = true;
        // Above the program's own main window, not above every window of the desktop;
        // and a window with an owner does not keep the program running once the main
        // window has closed.
        owner.winId();
        winId();
        windowHandle()->setTransientParent(owner.windowHandle());
        QRect frame = frameGeometry();
        frame.moveCenter(owner.frameGeometry().center());
        if (const QScreen *s = owner.screen()) {
            const QRect desk = s->availableGeometry();
            frame.moveLeft(
                std::max(desk.left(), std::min(frame.left(), desk.right() - frame.width())));
            frame.moveTop(
                std::max(desk.top(), std::min(frame.top(), desk.bottom() - frame.height())));
        }
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
}

QPushButton *SecondaryWindow::createButton(const char *name, const char *caption,
                                           const QRect &geometry, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromLatin1(caption), parent ? parent : this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

void SecondaryWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            if (auto *button = qobject_cast<QPushButton *>(focusWidget());
                button && button->window() == this)
                button->click();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quill
