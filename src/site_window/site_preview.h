#pragma once

#include "site/rule_limits.h"

#include <QString>
#include <QStringView>
#include <QWidget>

#include <memory>

class QLabel;
class QStackedWidget;

namespace quill {

class TextWidth;

// What the preview shows of one page: its values as the table holds them (pending edits
// included), and where the page lives.
struct SitePreviewPage {
    QString title, description, canonical;
    QString pagePath; // relative to the site's folder: the address line when there is no canonical
    QString pageFile; // absolute: a relative or root-relative og:image is found from it
    QString ogTitle, ogDescription, ogImage, ogUrl;
};

// The text as a line `limit` pixels wide shows it at `pixelSize`: whole when it fits, else
// cut where TextWidth::cutPoint says and followed by "…". White space is not touched here.
QString cutForPreview(TextWidth &width, QStringView text, double pixelSize, double limit);

// The three places a page is previewed in.
enum class PreviewPlace { Desktop, Mobile, Card };

// How a place lays out and cuts its texts, in pixels: the width of its text column, and
// for title and description the size they are drawn at and the width after which they are
// cut (over all the lines the place gives them).
struct PreviewLines {
    double column;
    double titlePixels, titleLimit;
    double descriptionPixels, descriptionLimit;
};
// The desktop result cuts where the checks do, at `limits`.
PreviewLines previewLines(PreviewPlace place, const RuleLimits &limits);

// Where a social card's picture comes from, as og:image names it.
struct PreviewImage {
    enum class Kind {
        None,        // no og:image
        File,        // a local file: `file`, absolute
        Remote,      // an http(s) address on `host`, which the preview does not fetch
        Unsupported, // another kind of address (data:, ftp:); `host` holds its scheme
    };
    Kind kind = Kind::None;
    QString file;
    QString host;
};
// A file: URL or a path relative to the page is a local file; a path from the root ("/x")
// is the site folder's file when it has one (the folder is `pageFile` less `pagePath`),
// else the absolute path. Query and fragment are dropped, %-escapes decoded.
PreviewImage previewImage(const QString &ogImage, const QString &pageFile, const QString &pagePath);

// A page as a search engine lists it, on a desktop's 600 px column and on a phone's
// 360 px screen, and as a sharing site shows a link to it. Each text is a label whose
// accessible description is the text as cut, for screen readers.
class SitePreview : public QWidget
{
    Q_OBJECT
public:
    explicit SitePreview(QWidget *parent = nullptr);
    ~SitePreview() override;

    // Cut at a site's own limits, as its checks are; the rule table's until then.
    void setLimits(const RuleLimits &limits);
    void showPage(const SitePreviewPage &page);
    // No page: a line saying so.
    void clear();

private:
    struct Parts;
    std::unique_ptr<Parts> m;
};

} // namespace quill
