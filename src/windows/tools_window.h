#pragma once

#include "components/prompts.h"
#include "windows/seams.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TGradProgress;
class TMBox;

// The Tools window: the site manager's two shortcuts to the search engine on page 0,
// the HTML-to-JavaScript converter on page 1. Created once and only hidden when
// closed, so whatever was typed or chosen in it is there when it is shown again.
class TForm4 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm4(const quill::Seams &seams, QWidget *parent = nullptr);
    ~TForm4() override;

    // Shows the window modeless on `page` (0 the site manager, 1 the converter); an open
    // window comes forward. The first showing centres it over `owner`.
    void showPage(int page, const QWidget &owner);

    QTabWidget *PageControl1;
    QWidget *TabSheet1;
    QWidget *TabSheet2;
    QPushButton *Button5;
    QPushButton *Button1;

    // Site Manager
    QGroupBox *GroupBox1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Button2;
    QGroupBox *GroupBox3;
    QLabel *Label5;
    QLabel *Label4;
    QLineEdit *Edit1;
    QPushButton *Button3;

    // HTML > JS Converter
    QGroupBox *GroupBox2;
    QLabel *Label7;
    QLineEdit *Edit2;
    QPushButton *BitBtn1;
    QLabel *Label8;
    QLineEdit *Edit3;
    QPushButton *BitBtn2;
    QCheckBox *CheckBox1;
    QCheckBox *CheckBox2;
    QPushButton *Button4;
    TGradProgress *GradProgress1;

    // The two dialogs as the browse buttons run them; each keeps the name confirmed last.
    quill::FileDialogRequest OpenDialog1;
    quill::FileDialogRequest SaveDialog1;
    // Convert's message for paths too short to be names.
    TMBox *MBox1;

signals:
    // The help page of this window, opened by the main window from its start folder.
    void helpRequested(const QString &page);

private slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button5Click();
    void Edit2Change();
    void Edit3Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button4Click();

private:
    void buildSiteManagerPage();
    void buildConverterPage();
    void arrangeTabOrder();
    void applyConvertRule();

    quill::Prompts &m_prompts;
    quill::Shell &m_shell;
    bool m_placed = false;
};
