#include "windows/preferences_dialog.h"

#include "windows/field_controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using quill::Field;

TForm2::TForm2(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Preferences"));
    setFixedSize(384, 342);

    GroupBox2 = new QGroupBox(QStringLiteral(" Code Generation Preferences "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 104, 369, 65);
    RadioButton1 = new QRadioButton(QStringLiteral("&Make Meta Tag Code only"), GroupBox2);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(16, 18, 337, 17);
    RadioButton2 = new QRadioButton(QStringLiteral("M&ake Meta Tag Code and HTML code"), GroupBox2);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(16, 40, 337, 17);
    RadioButton2->setChecked(true);

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

    connect(Edit1, &QLineEdit::textChanged, this, &TForm2::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TForm2::Edit2Change);
    connect(Edit3, &QLineEdit::textChanged, this, &TForm2::Edit3Change);
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
