// The Tools window's "Site Manager" page: two shortcuts to the search engine, the page
// for submitting a site and a search for chosen keywords, opened through the shell.

#include "windows/tools_window.h"

#include "files/shell_target.h"
#include "windows/shell.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The search engine the page names and opens; its captions agree with the Tools menu.
constexpr QLatin1StringView SearchSiteName("Google");
constexpr QLatin1StringView SearchHost("www.google.com");

QGroupBox *createGroup(const char *name, const QString &caption, QWidget *parent, int top)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(0, top, 345, 105);
    return group;
}

QLabel *createLabel(const char *name, const QString &text, QWidget *parent, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(left, top);
    return label;
}

QPushButton *createButton(const char *name, const QString &caption, QWidget *parent,
                          const QRect &geometry, const QString &hint)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // The target is data of the button, never shown as a tool tip.
    button->setProperty("hint", hint);
    return button;
}

QString hintOf(const QPushButton *button)
{
    return button->property("hint").toString();
}

} // namespace

void TForm4::buildSiteManagerPage()
{
    GroupBox1 = createGroup("GroupBox1", QStringLiteral(" Add Site To Google "), TabSheet1, 8);
    Label1 = createLabel("Label1",
                         QStringLiteral("Adding your site to the ") + SearchSiteName +
                             QStringLiteral(" Search Engine can really boost"),
                         GroupBox1, 8, 16);
    Label2 = createLabel(
        "Label2",
        QStringLiteral("your sites performance by giving more people an oportunity to visit "),
        GroupBox1, 8, 32);
    Label3 = createLabel("Label3", QStringLiteral("your site when searching for certain material."),
                         GroupBox1, 8, 48);
    Button2 = createButton("Button2", QStringLiteral("&Add Your Site To ") + SearchSiteName,
                           GroupBox1, QRect(88, 72, 169, 25),
                           QStringLiteral("http://") + SearchHost + QStringLiteral("/addurl"));

    GroupBox3 = createGroup("GroupBox3", QStringLiteral(" Check Site Rankings "), TabSheet1, 120);
    Label5 = createLabel("Label5",
                         QStringLiteral("Enter the keywords you would like to use in your search:"),
                         GroupBox3, 8, 20);
    Label4 = createLabel("Label4", QStringLiteral("Keywords: "), GroupBox3, 8, 48);
    Edit1 = new QLineEdit(GroupBox3);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(72, 44, 265, 21);
    Label4->setBuddy(Edit1);
    Edit1->setAccessibleName(QStringLiteral("Keywords"));
    Button3 =
        createButton("Button3", QStringLiteral("C&heck Top 10"), GroupBox3, QRect(112, 72, 105, 25),
                     QStringLiteral("http://") + SearchHost +
                         QStringLiteral("/search?hl=en&lr=&ie=ISO-8859-1&q="));

    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
}

void TForm4::Button2Click()
{
    const auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    m_shell.open(hintOf(button));
}

void TForm4::Button3Click()
{
    const auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    m_shell.open(hintOf(button) + quill::latin1QueryValue(Edit1->text()));
}
