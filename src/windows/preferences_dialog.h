#pragma once

#include "document/tag_document.h"
#include "files/prefs_record.h"
#include "windows/seams.h"
#include "windows/secondary_window.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Preferences dialog: the start-up options and the generation mode, stored in
// prefs.cfg, and the three page-head texts, which belong to the tag document and are
// read by the generator. Modeless; its states last as long as the program runs.
class TForm2 : public quill::SecondaryWindow
{
    Q_OBJECT

public:
    explicit TForm2(const quill::Seams &seams, QWidget *parent = nullptr);

    quill::GenerationMode mode() const;
    // The edit of a page-head field (PageTitle, ExternalCss, FaviconUrl).
    QLineEdit *pageHeadEdit(quill::Field field) const;
    // The preferences as the controls hold them.
    quill::Preferences preferences() const;

    // Creation work, run once at start-up: loads prefs.cfg of the start folder into the
    // controls; the folder is kept for OK and Help.
    void FormActivate(const QString &startFolder);

    QGroupBox *GroupBox1;
    QCheckBox *CheckBox1;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox3;
    QGroupBox *GroupBox2;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QGroupBox *GroupBox3;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QLineEdit *Edit3;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;

signals:
    // A page-head text changed: the document has changed.
    void documentChanged();

public slots:
    void RadioButton1Click();
    void RadioButton2Click();
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();

private:
    QString prefsPath() const;
    void setPageHeadEnabled(bool enabled);

    quill::Prompts &m_prompts;
    quill::Shell &m_shell;
    QString m_startFolder;
};
