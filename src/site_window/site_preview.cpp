#include "site_window/site_preview.h"

#include "site/check_rules.h"
#include "site/site_text.h"
#include "site/text_width.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>
#include <optional>

namespace quill {

using namespace Qt::Literals::StringLiterals;

QString cutForPreview(TextWidth &width, QStringView text, double pixelSize, double limit)
{
    const qsizetype cut = width.cutPoint(text, pixelSize, limit);
    if (cut >= text.size())
        return text.toString();
    // As search results do: no blank before the ellipsis, which would also let it wrap
    // onto a line of its own.
    QStringView kept = text.left(cut);
    while (!kept.isEmpty() && kept.back().isSpace())
        kept.chop(1);
    return kept.toString() + u'…';
}

// A phone's screen of 360 px less the result's margins of 16 px on either side.
constexpr double MobileColumn = 360 - 2 * 16;
// A link card as the large sharing sites draw it: 500 px wide, the picture at 1.91:1, the
// texts inside 12 px of padding.
constexpr int CardWidth = 500;
constexpr int CardImageHeight = 262;
constexpr int CardPadding = 12;
constexpr double CardColumn = CardWidth - 2 * CardPadding;

PreviewLines previewLines(PreviewPlace place, const RuleLimits &limits)
{
    switch (place) {
    case PreviewPlace::Desktop: {
        // One line of title; the snippet's two lines of 600 px hold what the checks allow.
        const RuleDef &title = checkRule(CheckRule::TitleTooLong);
        const RuleDef &description = checkRule(CheckRule::DescriptionTooLong);
        return {600, title.pixelSize, limits.limit(title.rule), description.pixelSize,
                limits.limit(description.rule)};
    }
    case PreviewPlace::Mobile:
        // The title over two full lines; about three quarters of the desktop's snippet, as
        // phones show (some three lines).
        return {MobileColumn, 20, 2 * MobileColumn, 14, 680};
    case PreviewPlace::Card:
        // Two lines of bold title (measured in the regular face, so a tenth narrower) and
        // one line of description.
        return {CardColumn, 16, 2 * CardColumn * 0.9, 14, CardColumn};
    }
    return {};
}

PreviewImage previewImage(const QString &ogImage, const QString &pageFile, const QString &pagePath)
{
    PreviewImage image;
    const QString address = ogImage.trimmed();
    if (address.isEmpty())
        return image;
    // A network-path reference ("//host/x.png") is on the web as much as an http one.
    const QUrl url = address.startsWith("//"_L1) ? QUrl(u"https:"_s + address) : QUrl(address);
    const QString scheme = url.scheme().toLower();
    if (scheme == "http"_L1 || scheme == "https"_L1) {
        image.kind = PreviewImage::Kind::Remote;
        image.host = url.host();
        return image;
    }
    if (scheme == "file"_L1) {
        image.kind = PreviewImage::Kind::File;
        image.file = QDir::cleanPath(url.toLocalFile());
        return image;
    }
    if (!scheme.isEmpty()) {
        image.kind = PreviewImage::Kind::Unsupported;
        image.host = scheme;
        return image;
    }
    image.kind = PreviewImage::Kind::File;
    if (address.startsWith(u'/')) {
        const QString path = url.path(QUrl::FullyDecoded);
        QString pageFolder = QFileInfo(pageFile).absolutePath();
        QString root = pageFolder;
        const QString relative = QDir::cleanPath(pagePath);
        if (!relative.isEmpty() && QDir::cleanPath(pageFile).endsWith(u'/' + relative))
            root = QDir::cleanPath(pageFile).chopped(relative.size() + 1);
        const QString inSite = QDir::cleanPath(root + path);
        image.file = QFileInfo::exists(inSite) ? inSite : QDir::cleanPath(path);
        return image;
    }
    image.file = QDir::cleanPath(QUrl::fromLocalFile(pageFile).resolved(url).toLocalFile());
    return image;
}

namespace {

// The card's picture, filling its frame as sharing sites crop it, or a neutral panel that
// says why there is none.
class CardImage : public QWidget
{
public:
    explicit CardImage(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(u"cardImage"_s);
        setFixedSize(CardWidth, CardImageHeight);
        setAccessibleName(tr("Shared picture"));
    }

    void show(const PreviewImage &source)
    {
        m_image = {};
        m_note.clear();
        setVisible(source.kind != PreviewImage::Kind::None);
        switch (source.kind) {
        case PreviewImage::Kind::None:
            break;
        case PreviewImage::Kind::File:
            m_image = read(source.file);
            if (m_image.isNull())
                m_note = tr("The picture %1 cannot be read").arg(source.file);
            break;
        case PreviewImage::Kind::Remote:
            m_note = tr("A picture on %1, not fetched").arg(source.host);
            break;
        case PreviewImage::Kind::Unsupported:
            m_note = tr("A picture at a %1: address, not shown").arg(source.host);
            break;
        }
        setAccessibleDescription(m_image.isNull() ? m_note : source.file);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRectF frame = rect();
        if (m_image.isNull()) {
            painter.fillRect(frame, palette().color(QPalette::Button));
            painter.setPen(palette().color(QPalette::ButtonText));
            painter.drawText(frame.adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap,
                             m_note);
            return;
        }
        // The middle of the picture at the frame's proportions.
        const QSizeF size = m_image.size();
        const double scale = std::max(frame.width() / size.width(), frame.height() / size.height());
        QRectF source(QPointF(), frame.size() / scale);
        source.moveCenter(QRectF(QPointF(), size).center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(frame, m_image, source);
    }

private:
    // Large pictures are read at twice the frame (sharp at 2x), not at their own size. Only
    // a plain file: a page may name a pipe or a device, which would never end.
    QImage read(const QString &file) const
    {
        if (!QFileInfo(file).isFile())
            return {};
        QImageReader reader(file);
        reader.setAutoTransform(true);
        const QSize wanted = size() * 2;
        const QSize own = reader.size();
        if (own.width() > wanted.width() && own.height() > wanted.height())
            reader.setScaledSize(own.scaled(wanted, Qt::KeepAspectRatioByExpanding));
        return reader.read();
    }

    QImage m_image;
    QString m_note;
};

QFont previewFont(double pixels, bool bold = false)
{
    QFont font(u"Liberation Sans"_s);
    font.setPixelSize(qRound(pixels));
    font.setBold(bold);
    // Placed as browsers place text, unhinted, so Qt's lines match the measured widths.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A text of the preview: plain (a title's "<b>" is no markup here), wrapped in its column.
QLabel *previewLabel(QWidget *parent, const QString &name, const QString &accessibleName,
                     const QFont &font, QPalette::ColorRole role, double column)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAccessibleName(accessibleName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(font);
    label->setForegroundRole(role);
    label->setFixedWidth(qCeil(column));
    return label;
}

QLabel *heading(QWidget *parent, const QString &text)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setForegroundRole(QPalette::Text);
    return label;
}

// The address a search result shows: host and path of the canonical, else the page's path.
QString addressLine(const SitePreviewPage &page)
{
    const QUrl url(page.canonical.trimmed(), QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty())
        return url.host() + url.path();
    return page.pagePath;
}

QString hostOf(const QString &address)
{
    return QUrl(address.trimmed(), QUrl::StrictMode).host();
}

} // namespace

struct SitePreview::Parts {
    struct Result {
        QFrame *frame;
        QLabel *address, *title, *description;
        PreviewPlace place;
    };

    std::unique_ptr<TextWidth> width;
    RuleLimits limits;
    std::optional<SitePreviewPage> page;
    QStackedWidget *stack;
    QLabel *none;
    Result desktop, mobile;
    QFrame *card;
    CardImage *image;
    QLabel *host, *cardTitle, *cardDescription;

    // The text as `place` shows it: blanks collapsed as a browser does, then cut.
    QString cut(const QString &text, double pixels, double limit) const
    {
        const QString shown = site_text::collapsed(text);
        return width ? cutForPreview(*width, shown, pixels, limit) : shown;
    }
};

namespace {

// A text shown, or where there is none, a word saying so in the dimmed colours.
void showText(QLabel *label, const QString &text, const QString &missing)
{
    label->setEnabled(!text.isEmpty());
    label->setText(text.isEmpty() ? missing : text);
    label->setAccessibleDescription(label->text());
}

void showAddress(QLabel *label, const QString &address)
{
    // An address has no blanks to wrap at: it is cut at the column, whole in its tool tip.
    label->setText(label->fontMetrics().elidedText(address, Qt::ElideRight, label->maximumWidth()));
    label->setToolTip(address);
    label->setAccessibleDescription(address);
    label->setVisible(!address.isEmpty());
}

} // namespace

SitePreview::SitePreview(QWidget *parent)
    : QWidget(parent)
    , m(std::make_unique<Parts>())
{
    QString error;
    m->width = TextWidth::liberationSans(&error);
    setAccessibleName(tr("Preview"));

    m->stack = new QStackedWidget(this);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m->stack);

    m->none = new QLabel(tr("No page is selected."), m->stack);
    m->none->setAlignment(Qt::AlignCenter);
    m->none->setEnabled(false);
    m->stack->addWidget(m->none);

    auto *scroll = new QScrollArea(m->stack);
    scroll->setAccessibleName(tr("Preview of the page"));
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Base);
    auto *content = new QWidget(scroll);
    content->setBackgroundRole(QPalette::Base);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(16, 12, 16, 16);
    scroll->setWidget(content);
    m->stack->addWidget(scroll);

    const auto result = [&](PreviewPlace place, const QString &key, const QString &where,
                            Parts::Result *out) {
        const PreviewLines lines = previewLines(place, m->limits);
        out->place = place;
        out->frame = new QFrame(content);
        out->frame->setObjectName(key);
        out->frame->setAccessibleName(tr("Search result %1").arg(where));
        auto *layout = new QVBoxLayout(out->frame);
        layout->setSpacing(2);
        out->address = previewLabel(out->frame, key + u"Address"_s, tr("Address %1").arg(where),
                                    previewFont(14), QPalette::PlaceholderText, lines.column);
        out->title = previewLabel(out->frame, key + u"Title"_s, tr("Title %1").arg(where),
                                  previewFont(lines.titlePixels), QPalette::Link, lines.column);
        out->description =
            previewLabel(out->frame, key + u"Description"_s, tr("Description %1").arg(where),
                         previewFont(lines.descriptionPixels), QPalette::Text, lines.column);
        layout->addWidget(out->address);
        layout->addWidget(out->title);
        layout->addSpacing(2);
        layout->addWidget(out->description);
    };

    column->addWidget(heading(content, tr("Search result on a desktop")));
    result(PreviewPlace::Desktop, u"desktop"_s, tr("on a desktop"), &m->desktop);
    m->desktop.frame->layout()->setContentsMargins(0, 4, 0, 16);
    column->addWidget(m->desktop.frame);

    column->addWidget(heading(content, tr("Search result on a phone")));
    result(PreviewPlace::Mobile, u"mobile"_s, tr("on a phone"), &m->mobile);
    // The phone's screen, its edges drawn.
    m->mobile.frame->setFrameShape(QFrame::StyledPanel);
    m->mobile.frame->layout()->setContentsMargins(16, 12, 16, 12);
    m->mobile.frame->setFixedWidth(360);
    column->addWidget(m->mobile.frame);
    column->addSpacing(16);

    column->addWidget(heading(content, tr("Shared as a link")));
    const PreviewLines cardLines = previewLines(PreviewPlace::Card, m->limits);
    m->card = new QFrame(content);
    m->card->setObjectName(u"card"_s);
    m->card->setAccessibleName(tr("Link card"));
    m->card->setFrameShape(QFrame::Box);
    m->card->setForegroundRole(QPalette::Mid);
    m->card->setFixedWidth(CardWidth + 2 * m->card->frameWidth());
    auto *cardLayout = new QVBoxLayout(m->card);
    // Inside the frame: a layout keeps to the frame's contents already.
    cardLayout->setContentsMargins(0, 0, 0, 0);
    cardLayout->setSpacing(0);
    m->image = new CardImage(m->card);
    cardLayout->addWidget(m->image);
    auto *cardText = new QWidget(m->card);
    cardText->setBackgroundRole(QPalette::AlternateBase);
    cardText->setAutoFillBackground(true);
    auto *textLayout = new QVBoxLayout(cardText);
    textLayout->setContentsMargins(CardPadding, 10, CardPadding, 10);
    textLayout->setSpacing(3);
    QFont hostFont = previewFont(12);
    hostFont.setCapitalization(QFont::AllUppercase);
    m->host = previewLabel(cardText, u"cardHost"_s, tr("Site of the link card"), hostFont,
                           QPalette::PlaceholderText, cardLines.column);
    m->cardTitle =
        previewLabel(cardText, u"cardTitle"_s, tr("Title of the link card"),
                     previewFont(cardLines.titlePixels, true), QPalette::Text, cardLines.column);
    m->cardDescription = previewLabel(
        cardText, u"cardDescription"_s, tr("Description of the link card"),
        previewFont(cardLines.descriptionPixels), QPalette::PlaceholderText, cardLines.column);
    textLayout->addWidget(m->host);
    textLayout->addWidget(m->cardTitle);
    textLayout->addWidget(m->cardDescription);
    cardLayout->addWidget(cardText);
    column->addWidget(m->card);
    column->addStretch(1);

    clear();
}

SitePreview::~SitePreview() = default;

void SitePreview::setLimits(const RuleLimits &limits)
{
    m->limits = limits;
    if (m->page)
        showPage(*m->page);
}

void SitePreview::showPage(const SitePreviewPage &page)
{
    m->page = page;
    const QString address = addressLine(page);
    for (Parts::Result *result : {&m->desktop, &m->mobile}) {
        const PreviewLines lines = previewLines(result->place, m->limits);
        showAddress(result->address, address);
        showText(result->title, m->cut(page.title, lines.titlePixels, lines.titleLimit),
                 tr("(no title)"));
        showText(result->description,
                 m->cut(page.description, lines.descriptionPixels, lines.descriptionLimit),
                 tr("(no description)"));
        result->frame->setAccessibleDescription(result->title->text());
    }

    // A card falls back on the page's own title and description, as sharing sites do.
    const PreviewLines lines = previewLines(PreviewPlace::Card, m->limits);
    const auto either = [](const QString &first, const QString &second) {
        return site_text::collapsed(first).isEmpty() ? second : first;
    };
    m->image->show(previewImage(page.ogImage, page.pageFile, page.pagePath));
    QString host = hostOf(page.ogUrl);
    if (host.isEmpty())
        host = hostOf(page.canonical);
    m->host->setVisible(!host.isEmpty());
    m->host->setText(host);
    m->host->setAccessibleDescription(host);
    showText(m->cardTitle,
             m->cut(either(page.ogTitle, page.title), lines.titlePixels, lines.titleLimit),
             tr("(no title)"));
    showText(m->cardDescription,
             m->cut(either(page.ogDescription, page.description), lines.descriptionPixels,
                    lines.descriptionLimit),
             QString());
    m->cardDescription->setVisible(m->cardDescription->isEnabled());
    m->card->setAccessibleDescription(m->cardTitle->text());
    m->stack->setCurrentIndex(1);
}

void SitePreview::clear()
{
    m->page.reset();
    m->stack->setCurrentIndex(0);
}

} // namespace quill
