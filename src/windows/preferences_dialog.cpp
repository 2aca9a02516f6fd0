#include "windows/preferences_dialog.h"

#include "components/prompts.h"
#include "files/shell_target.h"
#include "windows/check_box.h"
#include "windows/field_controls.h"
#include "windows/shell.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using quill::Field;

namespace {

QCheckBox *createCheckBox(const char *name, const char *caption, int top, QWidget *parent)
{
    auto *box = new CheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(16, top, 337, 17);
    return box;
}

} // namespace

TForm2::TForm2(const quill::Seams &seams, QWidget *parent)
    : SecondaryWindow(QStringLiteral("Preferences"), QSize(384, 342), parent)
    , m_prompts(seams.prompts)
    , m_shell(seams.shell)
{
    setObjectName(QStringLiteral("Form2"));

    GroupBox1 = new QGroupBox(QStringLiteral(" General Preferences "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 369, 89);
    CheckBox1 = createCheckBox("CheckBox1", "&Show tips on startup", 22, GroupBox1);
    CheckBox2 = createCheckBox(
        "CheckBox2", "C&heck for updates at random intervals when program is run", 42, GroupBox1);
    CheckBox3 = createCheckBox("CheckBox3", "Show Beginner Wizard on startup", 62, GroupBox1);

    GroupBox2 = new QGroupBox(QStringLiteral(" Code Generation Preferences "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 104, 369, 65);
    RadioButton1 = new QRadioButton(QStringLiteral("&Make Meta Tag Code only"), GroupBox2);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(16, 22, 337, 17);
    RadioButton2 = new QRadioButton(QStringLiteral("M&ake Meta Tag Code and HTML code"), GroupBox2);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(16, 42, 337, 17);

    GroupBox3 = new QGroupBox(this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(8, 176, 369, 121);

    // The page-head texts are fields of the document: the catalogue builds them.
    for (const quill::FieldDef &def : quill::fieldCatalogue()) {
        if (def.owner == quill::Owner::Preferences)
            quill::createFieldControl(def, GroupBox3);
    }
    Edit1 = pageHeadEdit(Field::PageTitle);
    Edit2 = pageHeadEdit(Field::ExternalCss);
    Edit3 = pageHeadEdit(Field::FaviconUrl);
    Label1 = quill::fieldLabel(Edit1);
    Label2 = quill::fieldLabel(Edit2);
    Label3 = quill::fieldLabel(Edit3);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));

    Button3 = createButton("Button3", "H&elp", {8, 307, 75, 25});
    Button3->setProperty("hint", QStringLiteral("context2.html"));
    Button1 = createButton("Button1", "&OK", {222, 307, 75, 25});
    Button2 = createButton("Button2", "&Cancel", {302, 307, 75, 25});
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    // The initial states, which stay when prefs.cfg cannot be read.
    const quill::Preferences initial;
    CheckBox1->setChecked(initial.showTips);
    CheckBox2->setChecked(initial.checkUpdates);
    CheckBox3->setChecked(initial.showWizard);
    (initial.metaOnly ? RadioButton1 : RadioButton2)->setChecked(true);

    // Checked by a click, an arrow key or the program alike. Tab enters the group at
    // its checked button; the arrow keys move within it.
    for (QRadioButton *button : {RadioButton1, RadioButton2}) {
        connect(button, &QRadioButton::toggled, this, [this, button](bool on) {
            button->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
            if (on && button == RadioButton1)
                RadioButton1Click();
            else if (on)
                RadioButton2Click();
        });
    }
    (initial.metaOnly ? RadioButton2 : RadioButton1)->setFocusPolicy(Qt::ClickFocus);
    connect(Edit1, &QLineEdit::textChanged, this, &TForm2::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TForm2::Edit2Change);
    connect(Edit3, &QLineEdit::textChanged, this, &TForm2::Edit3Change);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
}

quill::GenerationMode TForm2::mode() const
{
    return RadioButton1->isChecked() ? quill::GenerationMode::MetaOnly
                                     : quill::GenerationMode::FullPage;
}

QLineEdit *TForm2::pageHeadEdit(Field field) const
{
    const quill::FieldDef &def = quill::fieldDef(field);
    if (def.owner != quill::Owner::Preferences)
        return nullptr;
    return GroupBox3->findChild<QLineEdit *>(QString::fromLatin1(def.control),
                                             Qt::FindDirectChildrenOnly);
}

quill::Preferences TForm2::preferences() const
{
    return {CheckBox1->isChecked(), CheckBox2->isChecked(), RadioButton1->isChecked(),
            CheckBox3->isChecked()};
}

QString TForm2::prefsPath() const
{
    return quill::pathInFolder(m_startFolder, QStringLiteral("prefs.cfg"));
}

void TForm2::FormActivate(const QString &startFolder)
{
    m_startFolder = startFolder;
    quill::TPrefsRecord record;
    QString error;
    if (!quill::loadPrefsFile(prefsPath(), &record, &error)) {
        m_prompts.show(this, quill::errorMessage(error));
        return;
    }
    const quill::Preferences prefs = quill::preferencesOf(record);
    CheckBox1->setChecked(prefs.showTips);
    CheckBox2->setChecked(prefs.checkUpdates);
    // Unchecking it would leave the other mode as it stands.
    if (prefs.metaOnly)
        RadioButton1->setChecked(true);
    CheckBox3->setChecked(prefs.showWizard);
}

void TForm2::setPageHeadEnabled(bool enabled)
{
    const QColor base =
        enabled ? palette().color(QPalette::Base) : palette().color(QPalette::Button);
    for (QWidget *control : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(Edit1),
                             static_cast<QWidget *>(Label2), static_cast<QWidget *>(Edit2),
                             static_cast<QWidget *>(Label3), static_cast<QWidget *>(Edit3)}) {
        control->setEnabled(enabled);
    }
    for (QLineEdit *edit : {Edit1, Edit2, Edit3}) {
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, base);
        edit->setPalette(p);
    }
}

void TForm2::RadioButton1Click()
{
    setPageHeadEnabled(false);
}

void TForm2::RadioButton2Click()
{
    setPageHeadEnabled(true);
}

void TForm2::Edit1Change()
{
    emit documentChanged();
}

void TForm2::Edit2Change()
{
    emit documentChanged();
}

void TForm2::Edit3Change()
{
    emit documentChanged();
}

void TForm2::Button1Click()
{
    // The file as it is now, so counters and reserved bytes written since start-up stay.
    QString error;
    const quill::Preferences chosen = preferences();
    if (!quill::updatePrefsFile(
            prefsPath(),
            [&chosen](quill::TPrefsRecord &record) { storePreferences(record, chosen); }, &error)) {
        m_prompts.show(this, quill::errorMessage(error));
        return;
    }
    hide();
}

void TForm2::Button2Click()
{
    hide();
}

void TForm2::Button3Click()
{
    const auto *button = qobject_cast<QPushButton *>(sender());
    const QString hint = button ? button->property("hint").toString() : QString();
    if (!hint.isEmpty())
        m_shell.open(quill::helpPagePath(m_startFolder, hint));
}
