#pragma once

#include "components/prompts.h"
#include "document/tag_document.h"
#include "windows/code_page.h"
#include "windows/seams.h"

#include <QMainWindow>

class FieldEdit;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeySequence;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class TForm2;
class TMBox;
class TXPMenu;

// The main window: the four pages of tag fields, the code page, the menus and
// the status bar with the modified mark.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    TForm1(TForm2 &preferences, const quill::Seams &seams, QWidget *parent = nullptr);
    ~TForm1() override;

    // The tag document as the controls of this window and the Preferences dialog hold it.
    quill::TagDocument document() const;
    // Puts every field of `doc` into its control, as reset and open do: texts and
    // check boxes with their reactions, lists by index without them. The mode stays.
    void applyDocument(const quill::TagDocument &doc);

    // The modified mark in the first status panel: empty, "Modified" or "Saved".
    QString modifiedMark() const;
    bool isModified() const;
    void setModified();
    void setSaved();
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString &text);

    // The folder the program was started in, as recorded in Edit13.
    QString startFolder() const;
    // Opens the help page `page` of the folder "help" in the start folder, so a later
    // change of the current directory does not matter.
    void openHelp(const QString &page);

    // Creation work, run once at start-up: records the start folder in Edit13.
    void FormCreate();
    // Puts the window in the middle of the desktop; its first show keeps whatever place
    // it has then.
    void moveToDesktopCentre();

    // Brings the field's page forward, then activates the window and gives the field
    // the focus, so what the user types next goes there.
    void focusField(quill::Field field);

    // The code page's text as the output commands take it: its lines joined by CR LF,
    // every character as it stands.
    QString codePageText() const;

    // Opens a project file as Open does once a name is chosen: the fields from the file,
    // the mark "Saved" and the name in the status bar, or the failure in the error box.
    // The open dialog starts from it next time.
    void openProject(const QString &path);

    // Pages and panels
    QTabWidget *PageControl1;
    QWidget *TabSheet1;
    QWidget *TabSheet2;
    QWidget *TabSheet4;
    QWidget *TabSheet5;
    QWidget *TabSheet3;
    QFrame *Panel1;
    QFrame *Panel2;
    QFrame *Panel3;
    QFrame *Panel4;
    QFrame *Panel5;
    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;
    QGroupBox *GroupBox3;

    // Basic
    FieldEdit *Edit1;
    FieldEdit *Edit2;
    FieldEdit *Edit3;
    FieldEdit *Edit4;
    FieldEdit *Edit5;
    FieldEdit *Edit6;
    FieldEdit *Edit7;
    QLineEdit *Edit14;
    QLineEdit *Edit15;
    QComboBox *ComboBox1;
    QComboBox *ComboBox2;
    QComboBox *ComboBox3;
    // Advanced
    QComboBox *ComboBox4;
    QPlainTextEdit *Memo2;
    QComboBox *ComboBox5;
    FieldEdit *Edit8;
    FieldEdit *Edit9;
    QComboBox *ComboBox6;
    QComboBox *ComboBox7;
    QComboBox *ComboBox8;
    FieldEdit *Edit10;
    FieldEdit *Edit11;
    FieldEdit *Edit12;
    QLineEdit *Edit13;
    // Extra Tags
    QComboBox *ComboBox9;
    QComboBox *ComboBox10;
    FieldEdit *Edit16;
    QComboBox *ComboBox11;
    QCheckBox *CheckBox2;
    FieldEdit *Edit33;
    QComboBox *ComboBox12;
    QCheckBox *CheckBox3;
    FieldEdit *Edit34;
    QComboBox *ComboBox13;
    FieldEdit *Edit17;
    QPushButton *BitBtn7;
    // DC Tags
    FieldEdit *Edit18;
    FieldEdit *Edit19;
    FieldEdit *Edit21;
    FieldEdit *Edit20;
    FieldEdit *Edit22;
    FieldEdit *Edit23;
    FieldEdit *Edit24;
    FieldEdit *Edit25;
    FieldEdit *Edit26;
    FieldEdit *Edit27;
    FieldEdit *Edit28;
    FieldEdit *Edit29;
    FieldEdit *Edit30;
    FieldEdit *Edit31;
    FieldEdit *Edit32;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    QPushButton *BitBtn3;
    QPushButton *BitBtn4;
    QPushButton *BitBtn5;
    QPushButton *BitBtn6;
    QPushButton *Button19;
    // HTML Code
    CodePage *Memo1;

    QStatusBar *StatusBar1;
    QMenu *PopupMenu1;
    TMBox *MBox1;

    // The file dialogs, each remembering the name it returned last.
    quill::FileDialogRequest SaveDialog1;
    quill::FileDialogRequest OpenDialog1;
    quill::FileDialogRequest OpenDialog2;
    quill::FileDialogRequest SaveDialog2;
    quill::FileDialogRequest SaveDialog3;

    TXPMenu *XPMenu1;

signals:
    // Commands that show another window; the application object connects them.
    void preferencesRequested();
    // The Tools window on one of its pages: 0 the site manager, 1 the converter.
    void toolsRequested(int page);
    void aboutRequested();
    void wizardRequested();

private slots:
    // File
    void New1Click();
    void Open1Click();
    void SaveAs1Click();
    void Import1Click();
    void AsHTML1Click();
    void AsText1Click();
    void Preferences1Click();
    void Print1Click();
    void Exit1Click();
    // Code
    void cool1Click();
    void ClearAllFields1Click();
    void CopyToClipboard1Click();
    // View
    void Beginner1Click();
    void Advanced1Click();
    void ExtraTags1Click();
    void DCTags1Click();
    void HTMLTags1Click();
    // Tools
    void AddSitetoGoogle1Click();
    void CheckSiteRankings1Click();
    void HTMLJS1Click();
    // Help
    void Help2Click();
    void Readme1Click();
    void BeginnerWizard1Click();
    void SitePromotion1Click();
    void Website1Click();
    void CheckforUpdate1Click();
    void Support1Click();
    void SupportForum1Click();
    void About1Click();
    void Button19Click();

    // Field reactions
    void Edit1Change();
    void Edit2Change();
    void ComboBox4Change();
    void CheckBox2Click();
    void CheckBox3Click();
    void Memo1Change();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();
    // A "?" button: shows the description of its field.
    void DescriptionClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Handler = void (TForm1::*)();

    void buildPages(QWidget *client);
    void buildBasicPage();
    void buildAdvancedPage();
    void buildExtraTagsPage();
    void buildDcTagsPage();
    void buildDescriptionButtons();
    void buildStatusBar();
    void buildMenus();
    void buildPopupMenu();
    void buildFileCommands();
    void connectFieldReactions();

    QAction *createCommand(const char *name, const char *caption, const QKeySequence &shortcut,
                           Handler handler);
    QAction *addCommand(QMenu *menu, const char *name, const char *caption,
                        const QKeySequence &shortcut, Handler handler);
    QAction *createEditAction(const char *name, const char *caption, const QKeySequence &shortcut,
                              const char *hint);
    void updateEditActions();
    void keepCommandShortcuts();
    void runEditAction(QAction *action);

    QWidget *fieldControl(quill::Field field) const;
    // The control of a field, as the kind of widget the catalogue built for it.
    template <class Control> Control *control(quill::Field field) const
    {
        return static_cast<Control *>(fieldControl(field));
    }
    void showCharacterSetNote();
    void setCodePageText(const QString &text);
    // True when nothing unsaved would be lost, or the user answers the question with OK.
    bool askBeforeLosingWork(const QString &question);
    void showFailure(const QString &message);
    void exportCodePage(quill::FileDialogRequest &dialog);
    void showPage(quill::Page page);
    void openHelpPage(QObject *sender);
    void openStartFolderFile(QObject *sender);
    void openWebAddress(QObject *sender);

    TForm2 &m_preferences;
    quill::Prompts &m_prompts;
    quill::Shell &m_shell;
    quill::Printer &m_printer;
    std::array<QWidget *, quill::FieldCount> m_fields{};
    QLabel *m_statusPanels[2]{};
    QAction *m_editActions[6]{};
    QList<QKeySequence> m_commandShortcuts;
    // The character-set item the note describes, so a new choice is told from the same.
    int m_noteSet = 0;
};
