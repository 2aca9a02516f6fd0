#pragma once

#include "windows/seams.h"
#include "windows/secondary_window.h"

class QLabel;
class QPushButton;

// The Check For Updates window: a reminder, at random starts, that a newer version may
// exist, with a button that opens the product's page. The program itself never
// contacts a server.
class TForm6 : public quill::SecondaryWindow
{
    Q_OBJECT

public:
    explicit TForm6(const quill::Seams &seams, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QPushButton *Button1;
    QPushButton *Button2;

public slots:
    void Button1Click();
    void Button2Click();

private:
    quill::Shell &m_shell;
};
