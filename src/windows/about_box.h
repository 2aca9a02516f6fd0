#pragma once

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class TSysInfo;

namespace quill {
class Prompts;
class Shell;
struct Seams;
} // namespace quill

// The About box: the product picture, the ownership notice and four items of
// system information, filled once when the box is created.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(const quill::Seams &seams, QWidget *parent = nullptr);

    // The creation work: fills the four value labels, once.
    void FormCreate();

    QFrame *Panel1;
    QLabel *Image1;
    QGroupBox *GroupBox2;
    QLabel *Label11;
    QGroupBox *GroupBox1;
    QLabel *Label4;
    QLabel *Label2;
    QLabel *Label1;
    QLabel *Label5;
    QLabel *Label3;
    QLabel *Label6;
    QLabel *Label9;
    QLabel *Label10;
    QPushButton *OKButton;
    TSysInfo *SysInfo1;

public slots:
    void Image1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    quill::Prompts &m_prompts;
    quill::Shell &m_shell;
    bool m_imagePressed = false;
};
