#include "windows/wizard.h"

#include "components/jpeg_image.h"
#include "components/prompts.h"
#include "files/text_lines.h"
#include "windows/seams.h"

#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

#include <optional>

namespace {

constexpr int StepCount = 5;

// The field each step explains; none for the first and the last.
std::optional<quill::Field> stepField(int step)
{
    switch (step) {
    case 2:
        return quill::Field::Edit1;
    case 3:
        return quill::Field::Edit2;
    case 4:
        return quill::Field::Edit3;
    default:
        return std::nullopt;
    }
}

QPushButton *button(const char *name, const QString &caption, const QRect &geometry,
                    QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1StringView(name));
    b->setGeometry(geometry);
    return b;
}

} // namespace

TForm7::TForm7(const quill::Seams &seams, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(seams.prompts)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Beginner Wizard"));
    setFixedSize(193, 337);
    // The main window ends the program, whether the wizard is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Beginner Wizard"));
    Image1->setGeometry(0, 0, 193, 49);
    Image1->setPixmap(QPixmap::fromImage(quill::jpegResource(QStringLiteral(":/banner.jpg"))));

    Label1 = new QLabel(QStringLiteral("Step 1 / 5"), Image1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 27, 58, 15);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    QPalette white = Label1->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(white);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Step"));
    Memo1->setGeometry(0, 49, 193, 249);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setEnabled(false);
    // Disabled so it takes no focus, but read as plainly as an enabled text.
    QPalette readable = Memo1->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::Base})
        readable.setColor(QPalette::Disabled, role, readable.color(QPalette::Active, role));
    Memo1->setPalette(readable);

    Button1 = button("Button1", QStringLiteral("< Previous"), {3, 305, 60, 25}, this);
    Button2 = button("Button2", QStringLiteral("Next >"), {66, 305, 61, 25}, this);
    Button3 = button("Button3", QStringLiteral("Close"), {130, 305, 60, 25}, this);
    Button1->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
}

void TForm7::openAtFirstStep()
{
    show();
    raise();
    activateWindow();
    // An open wizard gets no show event: it starts over here.
    FormShow();
    // Without its text the first step stands empty rather than showing an old one.
    if (!loadStepText(1))
        Memo1->clear();
}

void TForm7::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Shown by the program, not restored by the desktop.
    if (!event->spontaneous())
        FormShow();
}

void TForm7::FormShow()
{
    Label1->setText(QStringLiteral("Step 1 / 5"));
    Button1->setEnabled(false);
    Button2->setEnabled(true);
    m_step = 1;
}

void TForm7::Button2Click()
{
    ++m_step;
    Button1->setEnabled(m_step > 1);
    Button2->setEnabled(m_step != StepCount);
    showStep();
}

void TForm7::Button1Click()
{
    --m_step;
    Button1->setEnabled(m_step != 1);
    Button2->setEnabled(m_step < StepCount);
    showStep();
}

void TForm7::Button3Click()
{
    hide();
}

void TForm7::showStep()
{
    if (m_step < 1 || m_step > StepCount)
        return;
    if (const std::optional<quill::Field> field = stepField(m_step))
        emit fieldRequested(*field);
    Label1->setText(QStringLiteral("Step %1 / %2").arg(m_step).arg(StepCount));
    loadStepText(m_step);
}

bool TForm7::loadStepText(int step)
{
    QStringList lines;
    QString error;
    if (!quill::readTextLines(QStringLiteral("wizard/%1.txt").arg(step), &lines, &error)) {
        m_prompts.show(this, quill::errorMessage(error));
        return false;
    }
    Memo1->setPlainText(lines.join(u'\n'));
    return true;
}
