#pragma once

#include "document/field_catalogue.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quill {
class Prompts;
struct Seams;
} // namespace quill

// The Beginner Wizard: five steps of text beside the main window. Steps 2 to 4
// bring the main window's Basic page forward with the focus in the field they explain.
class TForm7 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm7(const quill::Seams &seams, QWidget *parent = nullptr);

    // Shows the wizard at step 1 with the first step's text; an open wizard starts over.
    void openAtFirstStep();
    int step() const { return m_step; }

    QLabel *Image1;
    QLabel *Label1;
    QPlainTextEdit *Memo1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;

signals:
    // The step explains this field of the main window: it wants it in front, focused.
    void fieldRequested(quill::Field field);

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void showStep();
    // Puts the step's text into Memo1; false after reporting a file that cannot be read.
    bool loadStepText(int step);

    quill::Prompts &m_prompts;
    quint8 m_step = 1;
};
