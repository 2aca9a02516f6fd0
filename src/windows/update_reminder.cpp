#include "windows/update_reminder.h"

#include "windows/shell.h"
#include "windows/web_addresses.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int TextLeft = 8;
constexpr int TextTop = 8;
constexpr int TextWidth = 201;
constexpr int ButtonTop = 189;

QLabel *createParagraph(const char *name, const char *text, QWidget *parent)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->resize(TextWidth, label->heightForWidth(TextWidth));
    return label;
}

} // namespace

TForm6::TForm6(const quill::Seams &seams, QWidget *parent)
    : SecondaryWindow(QStringLiteral("Check For Updates"), QSize(217, 222), parent)
    , m_shell(seams.shell)
{
    setObjectName(QStringLiteral("Form6"));

    Label1 = createParagraph("Label1",
                             "This is a small reminder that the version of Quillmark you are "
                             "using may not be the latest up-to-date version.",
                             this);
    Label2 = createParagraph("Label2",
                             "Click Check Update to go to the Quillmark site to see if there are "
                             "any updates available. (This option can be disabled in File > "
                             "Preferences)",
                             this);
    // The paragraphs, a blank line apart, stand in the middle of the room above the buttons.
    const int gap = fontMetrics().height();
    const int top = TextTop + (ButtonTop - TextTop - Label1->height() - gap - Label2->height()) / 2;
    Label1->move(TextLeft, top);
    Label2->move(TextLeft, top + Label1->height() + gap);

    Button1 = createButton("Button1", "&Check Update", {8, ButtonTop, 97, 25});
    Button1->setProperty("hint", QString::fromLatin1(quill::HomePage));
    Button2 = createButton("Button2", "&Do Not Check", {112, ButtonTop, 97, 25});
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
}

void TForm6::Button1Click()
{
    if (auto *button = qobject_cast<QPushButton *>(sender()))
        m_shell.open(button->property("hint").toString());
    hide();
}

void TForm6::Button2Click()
{
    hide();
}
