#pragma once

#include <QDialog>

class QPushButton;

namespace quill {

// A secondary window of the program: a fixed client size, a caption and a close box
// only. It stays above the main window, is centred over it the first time it shows and
// keeps its own place after; closing it only hides it. No button is a default one:
// Enter presses the button that has the focus and nothing else, and Esc does nothing.
class SecondaryWindow : public QDialog
{
    Q_OBJECT

public:
    SecondaryWindow(const QString &caption, QSize clientSize, QWidget *parent = nullptr);

    // Shows the window modelessly above `owner`, or brings it forward when it is open.
    void showOver(QWidget &owner);

protected:
    // A push button at its place in `parent` (the window when null).
    QPushButton *createButton(const char *name, const char *caption, const QRect &geometry,
                              QWidget *parent = nullptr);
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_placed = false;
};

} // namespace quill
