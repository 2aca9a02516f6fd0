#include "windows/about_box.h"

#include "components/jpeg_image.h"
#include "components/prompts.h"
#include "sysinfo/sys_info.h"
#include "windows/seams.h"
#include "windows/shell.h"
#include "windows/web_addresses.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <qdrawutil.h>

#include <exception>
#include <utility>

namespace {

// A panel with a lowered outer and a raised inner bevel, one pixel each.
class BevelPanel : public QFrame
{
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        qDrawShadePanel(&p, rect(), palette(), true, 1);
        qDrawShadePanel(&p, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

// A label that shows as much of its text as fits, with "..." for the rest and the
// whole text as its tooltip. A system's name can be longer than the row.
class FittingLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, width());
        setToolTip(shown == text() ? QString() : text());
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
    }
};

template <class Label = QLabel>
QLabel *label(const char *name, const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *l = new Label(text, parent);
    l->setObjectName(QLatin1StringView(name));
    l->setGeometry(geometry);
    return l;
}

} // namespace

TAboutBox::TAboutBox(const quill::Seams &seams, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(seams.prompts)
    , m_shell(seams.shell)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Quillmark v2.0"));
    setFixedSize(415, 352);
    // A box on its own never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(7, 7, 401, 207);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Quillmark on the web"));
    Image1->setGeometry(2, 2, 397, 203);
    Image1->setPixmap(QPixmap::fromImage(quill::jpegResource(QStringLiteral(":/about.jpg"))));
    Image1->setCursor(Qt::PointingHandCursor);
    // The maker's site is the product's home page.
    const QString site = QString::fromLatin1(quill::HomePage);
    Image1->setProperty("hint", site);
    Image1->setToolTip(site);
    Image1->installEventFilter(this);

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(7, 218, 401, 25);
    Label11 = label("Label11",
                    QStringLiteral("Quillmark \u00A9 The Quillmark Project. All rights reserved."),
                    {8, 5, 385, 15}, GroupBox2);
    Label11->setAlignment(Qt::AlignCenter);

    GroupBox1 = new QGroupBox(QStringLiteral(" System Information "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(7, 247, 401, 72);
    const auto row = [this](int index, const char *caption, const char *captionText,
                            const char *value, QLabel **captionLabel, QLabel **valueLabel) {
        const int y = 18 + 13 * index;
        *captionLabel = label(caption, QString::fromLatin1(captionText), {6, y, 92, 13}, GroupBox1);
        *valueLabel = label<FittingLabel>(value, {}, {100, y, 298, 13}, GroupBox1);
    };
    row(0, "Label4", "Computer Name:", "Label2", &Label4, &Label2);
    row(1, "Label1", "Operating System: ", "Label5", &Label1, &Label5);
    row(2, "Label3", "Windows Folder:", "Label6", &Label3, &Label6);
    row(3, "Label9", "System Folder: ", "Label10", &Label9, &Label10);

    OKButton = new QPushButton(QStringLiteral("&Close"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(333, 323, 75, 25);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    SysInfo1 = new TSysInfo(this, seams.sysInfo);
    SysInfo1->setObjectName(QStringLiteral("SysInfo1"));
}

void TAboutBox::FormCreate()
{
    // The description first: when the system gives no version data, the failure is
    // reported and the other values stay empty too.
    try {
        Label5->setText(SysInfo1->OSDescription());
        Label2->setText(SysInfo1->ComputerName());
        Label6->setText(SysInfo1->WindowsFolder());
        Label10->setText(SysInfo1->SystemFolder());
    } catch (const std::exception &failure) {
        m_prompts.show(nullptr, quill::errorMessage(QString::fromUtf8(failure.what())));
    }
}

void TAboutBox::Image1Click()
{
    m_shell.open(Image1->property("hint").toString());
}

void TAboutBox::showEvent(QShowEvent *event)
{
    // Centred on the screen whenever the program shows it.
    if (!event->spontaneous()) {
        if (const QScreen *s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->geometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    // A click is a press and a release of the left button on the picture.
    if (watched == Image1 && (event->type() == QEvent::MouseButtonPress ||
                              event->type() == QEvent::MouseButtonRelease)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (event->type() == QEvent::MouseButtonPress) {
                m_imagePressed = true;
            } else if (std::exchange(m_imagePressed, false) &&
                       Image1->rect().contains(mouse->position().toPoint())) {
                Image1Click();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the box: only Close and the close box do.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
