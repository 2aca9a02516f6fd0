#include "windows/startup_tip.h"

#include "components/prompts.h"
#include "files/text_lines.h"
#include "windows/pictures.h"
#include "windows/random_source.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int TipCount = 17;

} // namespace

TForm5::TForm5(const quill::Seams &seams, QWidget *parent)
    : SecondaryWindow(QStringLiteral("Startup Tip"), QSize(280, 175), parent)
    , m_prompts(seams.prompts)
    , m_random(seams.random)
{
    setObjectName(QStringLiteral("Form5"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Light bulb"));
    Image1->setGeometry(8, 8, 33, 49);
    Image1->setPixmap(quill::tipPicture(devicePixelRatioF()));

    Label1 = new QLabel(QStringLiteral("Did You Know..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->adjustSize();
    Label1->move(52, 26);

    // Read only and disabled: the tip can be neither edited, selected nor focused.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Tip"));
    Memo1->setGeometry(8, 64, 265, 73);
    Memo1->setReadOnly(true);
    Memo1->setEnabled(false);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Disabled only to keep the user out: the tip reads as plain text on white.
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     palette.color(QPalette::Active, QPalette::Base));
    Memo1->setPalette(palette);

    Button2 = createButton("Button2", "&Next Tip >", {115, 144, 75, 25});
    Button1 = createButton("Button1", "&Close", {198, 144, 75, 25});
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
}

void TForm5::FormActivate()
{
    m_random.seedFromClock();
    loadRandomTip();
}

void TForm5::Button1Click()
{
    hide();
}

void TForm5::Button2Click()
{
    loadRandomTip();
}

void TForm5::loadRandomTip()
{
    const int number = m_random.bounded(TipCount) + 1;
    QStringList lines;
    QString error;
    if (!quill::readTextLines(QStringLiteral("tips/%1.txt").arg(number), &lines, &error)) {
        m_prompts.show(this, quill::errorMessage(error));
        return;
    }
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}
