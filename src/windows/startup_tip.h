#pragma once

#include "windows/seams.h"
#include "windows/secondary_window.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The Startup Tip window: one tip about the program, drawn at random from the
// seventeen tip files of the start folder.
class TForm5 : public quill::SecondaryWindow
{
    Q_OBJECT

public:
    explicit TForm5(const quill::Seams &seams, QWidget *parent = nullptr);

    // Creation work, run once at start-up: seeds the random generator and loads a tip.
    void FormActivate();

    QLabel *Image1;
    QLabel *Label1;
    QPlainTextEdit *Memo1;
    QPushButton *Button2;
    QPushButton *Button1;

public slots:
    void Button1Click();
    void Button2Click();

private:
    void loadRandomTip();

    quill::Prompts &m_prompts;
    quill::RandomSource &m_random;
};
