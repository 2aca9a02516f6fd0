// The Tools window's "HTML > JS Converter" page: two paths, two options, and the
// Convert command that hands them to the conversion engine.

#include "windows/tools_window.h"

#include "components/colour_value.h"
#include "components/grad_progress.h"
#include "components/mbox.h"
#include "tools/html_to_js.h"
#include "windows/check_box.h"
#include "windows/pictures.h"

#include <QCheckBox>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel *createLabel(const char *name, const char *text, QWidget *parent, int left, int top)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(left, top);
    return label;
}

QLineEdit *createPathEdit(const char *name, QWidget *parent, int top)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(72, top, 225, 21);
    return edit;
}

QPushButton *createBrowseButton(const char *name, const QIcon &picture, QWidget *parent, int top)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(picture);
    button->setIconSize(QSize(16, 16));
    button->setGeometry(304, top, 25, 20);
    return button;
}

QCheckBox *createCheckBox(const char *name, const char *caption, QWidget *parent,
                          const QRect &geometry)
{
    auto *box = new CheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

} // namespace

void TForm4::buildConverterPage()
{
    GroupBox2 = new QGroupBox(TabSheet2);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(0, 8, 345, 217);

    Label7 = createLabel("Label7", "Source:", GroupBox2, 8, 18);
    Edit2 = createPathEdit("Edit2", GroupBox2, 16);
    Label7->setBuddy(Edit2);
    Edit2->setAccessibleName(QStringLiteral("Source"));
    BitBtn1 = createBrowseButton("BitBtn1", quill::browseSourcePicture(), GroupBox2, 16);
    BitBtn1->setAccessibleName(QStringLiteral("Choose source file"));
    Label8 = createLabel("Label8", "Destination:", GroupBox2, 8, 50);
    Edit3 = createPathEdit("Edit3", GroupBox2, 48);
    Label8->setBuddy(Edit3);
    Edit3->setAccessibleName(QStringLiteral("Destination"));
    BitBtn2 = createBrowseButton("BitBtn2", quill::browseDestinationPicture(), GroupBox2, 48);
    BitBtn2->setAccessibleName(QStringLiteral("Choose destination file"));
    CheckBox1 = createCheckBox("CheckBox1", "Generate HTML Page", GroupBox2, {24, 80, 185, 17});
    CheckBox2 = createCheckBox("CheckBox2", "Create Log File", GroupBox2, {24, 104, 169, 17});
    Button4 = new QPushButton(QStringLiteral("Convert"), GroupBox2);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setGeometry(8, 136, 75, 25);
    Button4->setEnabled(false);

    GradProgress1 = new TGradProgress(GroupBox2);
    GradProgress1->setObjectName(QStringLiteral("GradProgress1"));
    GradProgress1->setAccessibleName(QStringLiteral("Conversion progress"));
    GradProgress1->setGeometry(8, 176, 329, 24);
    GradProgress1->setBevelStyle(TGradProgress::bsLowered);
    GradProgress1->setBevelWidth(1);
    GradProgress1->setStartColor(0xFF0000); // blue 255
    GradProgress1->setEndColor(0x800000);   // navy, blue 128
    GradProgress1->setBackColor(quill::ButtonFaceColour);
    GradProgress1->setMaxValue(100);
    GradProgress1->setStep(1);
    GradProgress1->setShowPercent(true);
    QFont percentFont(QFont().family()); // the toolkit's default face
    percentFont.setPixelSize(13);
    GradProgress1->setFont(percentFont);
    QPalette palette = GradProgress1->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    GradProgress1->setPalette(palette);

    OpenDialog1 = {QStringLiteral("Open"), QStringLiteral("All (*.*)"), QString(), QString()};
    SaveDialog1 = {QStringLiteral("Save As"), QStringLiteral("JS File (*.js)"),
                   QStringLiteral("js"), QString()};
    MBox1 = new TMBox(m_prompts, this);
    MBox1->setObjectName(QStringLiteral("MBox1"));
    MBox1->setCaption(QStringLiteral("Quillmark"));
    MBox1->setText(quill::converterNamesMessage());

    connect(Edit2, &QLineEdit::textChanged, this, &TForm4::Edit2Change);
    connect(Edit3, &QLineEdit::textChanged, this, &TForm4::Edit3Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm4::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm4::BitBtn2Click);
    connect(Button4, &QPushButton::clicked, this, &TForm4::Button4Click);
}

void TForm4::applyConvertRule()
{
    Button4->setEnabled(quill::converterNamesValid(Edit2->text(), Edit3->text()));
}

void TForm4::Edit2Change()
{
    applyConvertRule();
}

void TForm4::Edit3Change()
{
    applyConvertRule();
}

namespace {

// Runs a dialog and returns the name it then holds: the one chosen, or after a cancel
// the one confirmed last (empty if none ever was), as the edit is to receive it.
template <class Run> QString runBrowseDialog(quill::FileDialogRequest &dialog, Run run)
{
    const QString chosen = run(dialog);
    if (!chosen.isEmpty())
        dialog.lastName = chosen;
    return dialog.lastName;
}

} // namespace

void TForm4::BitBtn1Click()
{
    Edit2->setText(runBrowseDialog(OpenDialog1, [this](const quill::FileDialogRequest &request) {
        return m_prompts.openFileName(this, request);
    }));
}

void TForm4::BitBtn2Click()
{
    Edit3->setText(runBrowseDialog(SaveDialog1, [this](const quill::FileDialogRequest &request) {
        return m_prompts.saveFileName(this, request);
    }));
}

void TForm4::Button4Click()
{
    const QString source = Edit2->text();
    const QString destination = Edit3->text();
    if (!quill::converterNamesValid(source, destination)) {
        MBox1->Execute();
        return;
    }
    // The bar is not set back first: it moves from where the last run left it. It
    // repaints itself on every change, so it stays current while the run holds the
    // event loop.
    const quill::ConversionResult result = quill::convertHtmlToJs(
        source, destination, CheckBox1->isChecked(), CheckBox2->isChecked(),
        QDateTime::currentDateTime(), [this](int percent) { GradProgress1->setPosition(percent); });
    if (!result.succeeded())
        m_prompts.show(this, quill::errorMessage(result.error));
}
