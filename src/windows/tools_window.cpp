// The Tools window's frame: its page control, the Help and Close buttons, and how the
// window is shown. The pages are built and handled in tools_window_*.cpp.

#include "windows/tools_window.h"

#include "components/grad_progress.h"
#include "windows/page_control_style.h"
#include "windows/pictures.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

TForm4::TForm4(const quill::Seams &seams, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(seams.prompts)
    , m_shell(seams.shell)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Quillmark Tools"));
    setWindowIcon(quill::toolsWindowPicture());
    setFixedSize(354, 299);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 8, 353, 257);
    auto *pageStyle = new quill::PageControlStyle;
    pageStyle->setParent(PageControl1);
    PageControl1->setStyle(pageStyle);
    PageControl1->tabBar()->setStyle(pageStyle);
    PageControl1->tabBar()->setAttribute(Qt::WA_Hover);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Site Manager"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("HTML > JS Converter"));

    Button5 = new QPushButton(QStringLiteral("H&elp"), this);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setGeometry(0, 272, 75, 25);
    Button5->setProperty("hint", QStringLiteral("context3.html"));
    Button1 = new QPushButton(QStringLiteral("&Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(278, 272, 75, 25);

    buildSiteManagerPage();
    buildConverterPage();
    arrangeTabOrder();

    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button5, &QPushButton::clicked, this, &TForm4::Button5Click);

    // Enter presses the focused button, as in the dialogs of the desktop the program
    // comes from; Qt does so by itself only in a QDialog.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(true);
}

TForm4::~TForm4() = default;

void TForm4::arrangeTabOrder()
{
    // Tab leaves the page control for the controls of the page in front (Qt skips those
    // of the hidden page), then the buttons below the pages.
    const QList<QWidget *> order = {
        PageControl1, Button2, Edit1,   Button3, Edit2,   Edit3,   CheckBox1,
        CheckBox2,    Button4, BitBtn1, BitBtn2, Button1, Button5,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm4::showPage(int page, const QWidget &owner)
{
    if (!m_placed) {
        m_placed = true;
        // By the client areas: the frame is not known before the first showing.
        QRect client = geometry();
        client.moveCenter(owner.geometry().center());
        setGeometry(client);
    }
    show();
    raise();
    activateWindow();
    PageControl1->setCurrentIndex(page);
}

void TForm4::Button1Click()
{
    // Only hidden: the window and all it holds stay for the next showing.
    close();
}

void TForm4::Button5Click()
{
    const auto *button = qobject_cast<QPushButton *>(sender());
    if (!button)
        return;
    emit helpRequested(button->property("hint").toString());
}
