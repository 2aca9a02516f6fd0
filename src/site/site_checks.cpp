#include "site/site_checks.h"

#include "site/site_text.h"
#include "site/text_width.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace quill {
namespace {

using enum CheckRule;
using Source = PageEncoding::Source;

// HTML wants the element that declares the character set wholly within these bytes, so
// that a browser's first look at the page finds it.
constexpr qsizetype DeclarationWindow = 1024;

// How many of the other pages a finding across pages names before it counts the rest.
constexpr qsizetype NamedOthers = 5;

// How much of a cut text a message shows before the cut.
constexpr qsizetype ExcerptLength = 30;

// Tags that today's search engines ignore, by the slot the page's head gives them.
constexpr const char *obsoleteSlots[] = {
    "name=keywords",     "name=revisit-after",       "name=distribution",     "name=classification",
    "http-equiv=pragma", "http-equiv=window-target", "http-equiv=pics-label",
};

QString quotedText(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

double rounded(double pixels)
{
    return std::round(pixels * 10) / 10;
}

qsizetype characterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++count;
    }
    return count;
}

// The end of the text before a cut, as a message shows it: "…the last words…".
QString cutExcerpt(QStringView text, qsizetype cut)
{
    QStringView kept = text.first(cut);
    QString lead;
    if (kept.size() > ExcerptLength) {
        qsizetype from = kept.size() - ExcerptLength;
        if (kept[from].isLowSurrogate())
            ++from;
        kept = kept.sliced(from);
        lead = QStringLiteral("…");
    }
    return QLatin1Char('"') + lead + kept.toString() + QStringLiteral("…\"");
}

// The meta tag's column, for a slot "name=NAME" the table holds; none for the others.
std::optional<SiteColumn> columnOfMetaSlot(QStringView slot)
{
    for (const ColumnDef &def : siteColumns()) {
        if (def.source == ColumnSource::Meta &&
            slot == QStringLiteral("name=") + QLatin1StringView(def.tag))
            return def.column;
    }
    return std::nullopt;
}

// A canonical address as a browser's URL parser takes it: ASCII blanks at its ends go.
QString addressText(const QString &value)
{
    return site_text::collapsed(value).trimmed();
}

// What is wrong with a canonical address: none when it is absolute and sound; `relative`
// when it is a sound relative one.
std::optional<QString> canonicalFault(const QString &address, bool *relative)
{
    *relative = false;
    if (address.isEmpty())
        return QStringLiteral("the canonical link has no address");
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid()) {
        QString why = url.errorString().section(QLatin1Char(';'), 0, 0);
        if (!why.isEmpty())
            why[0] = why[0].toLower();
        return QStringLiteral("the canonical address %1 is no valid URL: %2")
            .arg(quotedText(address), why);
    }
    if (url.isRelative()) {
        *relative = true;
        return std::nullopt;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1StringView("https") && scheme != QLatin1StringView("http"))
        return QStringLiteral("the canonical address %1 is a %2: address, not a web page's")
            .arg(quotedText(address), scheme);
    if (url.host().isEmpty())
        return QStringLiteral("the canonical address %1 names no host").arg(quotedText(address));
    return std::nullopt;
}

QUrl selfUrl(const QString &path)
{
    return QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

// An address resolved against the page's own and made comparable; empty for none.
QString addressKey(const QUrl &self, const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid())
        return {};
    return self.resolved(url)
        .adjusted(QUrl::RemoveFragment | QUrl::NormalizePathSegments)
        .toString(QUrl::FullyEncoded);
}

// Where a refresh sends the reader, by the steps of HTML's declarative refresh: empty
// for one that only reloads the page, or that browsers ignore.
QString refreshTarget(QStringView content)
{
    const auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
    };
    qsizetype at = 0;
    const auto skipBlanks = [&] {
        while (at < content.size() && blank(content[at]))
            ++at;
    };
    skipBlanks();
    const qsizetype timeStart = at;
    while (at < content.size() && (content[at].isDigit() || content[at] == u'.'))
        ++at;
    if (at == timeStart || at == content.size())
        return {};
    if (!blank(content[at]) && content[at] != u';' && content[at] != u',')
        return {};
    skipBlanks();
    if (at < content.size() && (content[at] == u';' || content[at] == u','))
        ++at;
    skipBlanks();
    QStringView rest = content.sliced(at);
    if (rest.startsWith(u"url", Qt::CaseInsensitive)) {
        qsizetype equals = 3;
        while (equals < rest.size() && blank(rest[equals]))
            ++equals;
        if (equals < rest.size() && rest[equals] == u'=') {
            rest = rest.sliced(equals + 1);
            while (!rest.isEmpty() && blank(rest.front()))
                rest = rest.sliced(1);
        }
    }
    if (!rest.isEmpty() && (rest.front() == u'"' || rest.front() == u'\'')) {
        const qsizetype close = rest.indexOf(rest.front(), 1);
        rest = rest.sliced(1, (close < 0 ? rest.size() : close) - 1);
    }
    return rest.trimmed().toString();
}

bool saysNoindex(const QString &robots)
{
    for (const QString &token : robots.split(QLatin1Char(','))) {
        const QString word = token.trimmed();
        if (word.compare(QLatin1StringView("noindex"), Qt::CaseInsensitive) == 0 ||
            word.compare(QLatin1StringView("none"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int lineOfOffset(QByteArrayView bytes, qsizetype offset)
{
    return int(bytes.first(offset).count('\n')) + 1;
}

// "a.html, b.html and 3 other pages".
QString others(const QList<const PageFacts *> &group, const PageFacts *self)
{
    QStringList named;
    qsizetype rest = 0;
    for (const PageFacts *other : group) {
        if (other == self)
            continue;
        if (named.size() < NamedOthers)
            named << other->page;
        else
            ++rest;
    }
    QString text = named.join(QStringLiteral(", "));
    if (rest > 0)
        text += QStringLiteral(" and %1 other page%2")
                    .arg(rest)
                    .arg(rest == 1 ? QString() : QStringLiteral("s"));
    return text;
}

// The pages of the group of each value (ignoring pages without it), in their order.
template <typename Key>
QList<QList<const PageFacts *>> groupsOf(const QList<PageFacts> &pages, Key key)
{
    QHash<QString, qsizetype> index;
    QList<QList<const PageFacts *>> groups;
    for (const PageFacts &page : pages) {
        const QString value = key(page);
        if (value.isEmpty())
            continue;
        const auto found = index.constFind(value);
        if (found == index.constEnd()) {
            index.insert(value, groups.size());
            groups.append({&page});
        } else {
            groups[*found].append(&page);
        }
    }
    return groups;
}

// The ends of the pages' paths, for telling whether a web address names one of them:
// "/a.html", "/blog/a.html", and so on up to the root.
QSet<QString> pathEnds(const QList<PageFacts> &pages)
{
    QSet<QString> ends;
    for (const PageFacts &page : pages) {
        const QString path = QUrl(page.selfKey).path();
        for (qsizetype slash = path.lastIndexOf(QLatin1Char('/')); slash >= 0;
             slash = slash == 0 ? -1 : path.lastIndexOf(QLatin1Char('/'), slash - 1))
            ends.insert(path.sliced(slash));
    }
    return ends;
}

// Whether a web address could be one of the pages: its path is the end of one's path,
// as a server maps it (a folder to its index.html, a name without extension to .html).
// The site's root is not known, so this errs towards yes.
bool namesAPage(const QString &key, const QSet<QString> &ends)
{
    const QString path = QUrl(key).path();
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return ends.contains(path + (path.isEmpty() ? QStringLiteral("/") : QString()) +
                             QStringLiteral("index.html"));
    for (const char *suffix : {"", ".html", ".htm", "/index.html"}) {
        if (ends.contains(path + QLatin1StringView(suffix)))
            return true;
    }
    return false;
}

} // namespace

CheckedValues::CheckedValues(const SitePage &page)
{
    for (const ColumnDef &def : siteColumns())
        m_tags[static_cast<std::size_t>(def.column)] = page.tag(def.column);
}

CheckedValues::CheckedValues(const SitePage &page, const QList<SiteColumn> &columns,
                             const SiteRow &row)
    : CheckedValues(page)
{
    for (qsizetype i = 0; i < columns.size() && i < row.cells.size(); ++i) {
        const ColumnDef &def = siteColumn(columns[i]);
        if (def.readOnly())
            continue;
        ColumnTag &tag = m_tags[static_cast<std::size_t>(def.column)];
        const bool title = def.source == ColumnSource::TitleText;
        switch (cellChange(tag.value, row.cells[i], title)) {
        case CellChange::None:
            break;
        case CellChange::Remove:
            tag = ColumnTag();
            break;
        case CellChange::Set:
            tag.value = title ? site_text::collapsed(*row.cells[i]) : *row.cells[i];
            break;
        }
    }
}

const ColumnTag &CheckedValues::tag(SiteColumn column) const
{
    return m_tags[static_cast<std::size_t>(column)];
}

SiteChecks::SiteChecks(const RuleLimits &limits, TextWidth *width)
    : m_limits(limits)
    , m_width(width)
{}

QList<SiteFinding> SiteChecks::checkPage(const QString &path, const SitePage &page,
                                         PageFacts *facts) const
{
    return checkPage(path, page, CheckedValues(page), facts);
}

QList<SiteFinding> SiteChecks::checkPage(const QString &path, const SitePage &page,
                                         const CheckedValues &values, PageFacts *facts) const
{
    QList<SiteFinding> out;
    const auto find = [&](CheckRule rule, int line, std::optional<SiteColumn> column,
                          const QString &message, std::optional<double> measured = {}) {
        out.append({path, line, rule, message, measured, column});
    };
    const auto repeated = [&](CheckRule rule, SiteColumn column, const QString &what) {
        const ColumnTag &tag = values.tag(column);
        for (const int line : tag.repeats)
            find(rule, line, column,
                 QStringLiteral("a second %1 (the first is on line %2)").arg(what).arg(tag.line));
    };
    // A width against its rule's limit, with where a search result cuts the text.
    const auto tooWide = [&](CheckRule rule, SiteColumn column, const QString &text,
                             const char *what) {
        const double measured = width(rule, text);
        const double limit = m_limits.limit(rule);
        if (measured <= limit)
            return measured;
        find(rule, values.tag(column).line, column,
             QStringLiteral("the %1 is %2 px wide at %3 px, over the limit of %4 px; a search "
                            "result cuts it after %5")
                 .arg(QLatin1StringView(what))
                 .arg(std::round(measured))
                 .arg(checkRule(rule).pixelSize)
                 .arg(limit)
                 .arg(cutExcerpt(text, cutPoint(rule, text))),
             rounded(measured));
        return measured;
    };

    const ColumnTag &title = values.tag(SiteColumn::Title);
    if (!title.value) {
        find(TitleMissing, 0, SiteColumn::Title, QStringLiteral("the page has no <title>"));
    } else if (title.value->isEmpty()) {
        find(TitleEmpty, title.line, SiteColumn::Title, QStringLiteral("the <title> is empty"));
    } else {
        const double measured = tooWide(TitleTooLong, SiteColumn::Title, *title.value, "title");
        const double least = m_limits.limit(TitleTooShort);
        if (measured < least)
            find(TitleTooShort, title.line, SiteColumn::Title,
                 QStringLiteral("the title is %1 px wide at %2 px, under the least of %3 px")
                     .arg(std::round(measured))
                     .arg(checkRule(TitleTooShort).pixelSize)
                     .arg(least),
                 rounded(measured));
    }
    repeated(TitleMultiple, SiteColumn::Title, QStringLiteral("<title>"));

    const ColumnTag &description = values.tag(SiteColumn::Description);
    const QString described =
        description.value ? site_text::collapsed(*description.value) : QString();
    if (!description.value) {
        find(DescriptionMissing, 0, SiteColumn::Description,
             QStringLiteral("the page has no <meta name=\"description\">"));
    } else if (described.isEmpty()) {
        find(DescriptionMissing, description.line, SiteColumn::Description,
             QStringLiteral("the meta description is empty"));
    } else {
        tooWide(DescriptionTooLong, SiteColumn::Description, described, "description");
        const qsizetype length = characterCount(described);
        const double least = m_limits.limit(DescriptionTooShort);
        if (double(length) < least)
            find(DescriptionTooShort, description.line, SiteColumn::Description,
                 QStringLiteral("the description has %1 characters, under the least of %2")
                     .arg(length)
                     .arg(least),
                 double(length));
    }
    repeated(DescriptionMultiple, SiteColumn::Description,
             QStringLiteral("<meta name=\"description\">"));

    const PageEncoding &encoding = page.encoding();
    const CharsetDeclaration &declaration = encoding.declaration;
    const bool declared =
        encoding.source == Source::Declaration || encoding.source == Source::ByteOrderMark;
    if (!declared)
        find(CharsetMissing, 0, SiteColumn::Charset, QStringLiteral("the page ") + encoding.reason);
    if (!declaration.label.isEmpty() && declaration.end > DeclarationWindow)
        find(CharsetLate, declaration.line, SiteColumn::Charset,
             QStringLiteral("the declaration of %1 ends at byte %2, beyond the first %3")
                 .arg(QString::fromLatin1(declaration.label))
                 .arg(declaration.end)
                 .arg(DeclarationWindow));
    if (encoding.source != Source::PlainAscii && !encoding.charset.sameAs(PageCharset::utf8()))
        find(CharsetNotUtf8, declared ? declaration.line : 0, SiteColumn::Charset,
             QStringLiteral("the page is in %1, not UTF-8: it %2")
                 .arg(encoding.charset.name(), encoding.reason));
    if (declared) {
        const QByteArrayView bytes = page.bytes();
        const qsizetype bom = utf8BomLength(bytes);
        const qsizetype bad = encoding.charset.firstInvalid(bytes.sliced(bom));
        if (bad >= 0) {
            const qsizetype at = bom + bad;
            const int line = lineOfOffset(bytes, at);
            const QString byte =
                at < bytes.size() ? QStringLiteral("byte 0x") +
                                        QString::number(static_cast<unsigned char>(bytes[at]), 16)
                                            .toUpper()
                                            .rightJustified(2, QLatin1Char('0'))
                                  : QStringLiteral("the last character, cut off,");
            find(CharsetMismatch, line, std::nullopt,
                 QStringLiteral("%1 on line %2 is not valid in %3, though the page %4")
                     .arg(byte)
                     .arg(line)
                     .arg(encoding.charset.name(), encoding.reason));
        }
    }

    const ColumnTag &lang = values.tag(SiteColumn::Lang);
    if (!lang.value || lang.value->trimmed().isEmpty())
        find(LangMissing, lang.line, SiteColumn::Lang,
             lang.value ? QStringLiteral("<html lang> is empty")
                        : QStringLiteral("<html> has no lang attribute"));

    const ColumnTag &canonical = values.tag(SiteColumn::Canonical);
    QString canonicalKey;
    if (canonical.value) {
        const QString address = addressText(*canonical.value);
        bool relative = false;
        if (const auto fault = canonicalFault(address, &relative)) {
            find(CanonicalInvalid, canonical.line, SiteColumn::Canonical, *fault);
        } else {
            canonicalKey = addressKey(selfUrl(path), address);
            if (relative)
                find(CanonicalRelative, canonical.line, SiteColumn::Canonical,
                     QStringLiteral("the canonical address %1 is relative; give it whole, "
                                    "with its scheme and host")
                         .arg(quotedText(address)));
        }
    }
    repeated(CanonicalMultiple, SiteColumn::Canonical, QStringLiteral("<link rel=\"canonical\">"));

    const ColumnTag &ogUrl = values.tag(SiteColumn::OgUrl);
    if (ogUrl.value && !canonicalKey.isEmpty()) {
        const QString address = addressText(*ogUrl.value);
        if (addressKey(selfUrl(path), address) != canonicalKey)
            find(OgUrlDiffers, ogUrl.line, SiteColumn::OgUrl,
                 QStringLiteral("og:url %1 is not the canonical address %2")
                     .arg(quotedText(address), quotedText(addressText(*canonical.value))));
    }

    const ColumnTag &robots = values.tag(SiteColumn::Robots);
    if (robots.value && saysNoindex(*robots.value))
        find(Noindex, robots.line, SiteColumn::Robots,
             QStringLiteral("robots says %1").arg(quotedText(robots.value->trimmed())));

    for (const HeadItem &item : page.head().items) {
        if (item.slot == QLatin1StringView("http-equiv=refresh")) {
            const QString target = refreshTarget(itemText(page.bytes(), item, encoding.charset));
            if (!target.isEmpty())
                find(RefreshRedirect, item.line, std::nullopt,
                     QStringLiteral("<meta http-equiv=\"refresh\"> sends the reader to %1")
                         .arg(quotedText(target)));
            continue;
        }
        // An obsolete tag the table holds is found by its value below, so that an edit
        // that removes it removes the finding.
        const bool obsolete =
            std::any_of(std::begin(obsoleteSlots), std::end(obsoleteSlots),
                        [&item](const char *slot) { return item.slot == QLatin1StringView(slot); });
        if (obsolete && !columnOfMetaSlot(item.slot))
            find(ObsoleteTag, item.line, std::nullopt,
                 slotLabel(item.slot) + QStringLiteral(" is ignored by search engines"));
    }
    for (const char *obsolete : obsoleteSlots) {
        const QString slot = QLatin1StringView(obsolete);
        const std::optional<SiteColumn> column = columnOfMetaSlot(slot);
        if (!column || !values.tag(*column).value)
            continue;
        const ColumnTag &tag = values.tag(*column);
        for (const int line : QList{tag.line} + tag.repeats)
            find(ObsoleteTag, line, column,
                 slotLabel(slot) + QStringLiteral(" is ignored by search engines"));
    }

    std::stable_sort(out.begin(), out.end(), [](const SiteFinding &a, const SiteFinding &b) {
        return a.line != b.line ? a.line < b.line : a.rule < b.rule;
    });
    if (facts)
        *facts = pageFacts(path, values);
    return out;
}

double SiteChecks::width(CheckRule rule, QStringView text) const
{
    return m_width->width(site_text::collapsed(text), checkRule(rule).pixelSize);
}

qsizetype SiteChecks::cutPoint(CheckRule rule, QStringView text) const
{
    return m_width->cutPoint(text, checkRule(rule).pixelSize, m_limits.limit(rule));
}

PageFacts pageFacts(const QString &path, const CheckedValues &values)
{
    PageFacts facts;
    facts.page = path;
    facts.title = values.tag(SiteColumn::Title);
    facts.description = values.tag(SiteColumn::Description);
    facts.canonical = values.tag(SiteColumn::Canonical);
    const QUrl self = selfUrl(path);
    facts.selfKey = self.toString(QUrl::FullyEncoded);
    if (facts.canonical.value) {
        const QString address = addressText(*facts.canonical.value);
        bool relative = false;
        if (!canonicalFault(address, &relative))
            facts.canonicalKey = addressKey(self, address);
    }
    return facts;
}

QList<SiteFinding> checkAcrossPages(const QList<PageFacts> &pages)
{
    QList<SiteFinding> out;
    const auto shared = [&](CheckRule rule, SiteColumn column, const char *what, auto key,
                            auto tagOf) {
        for (const QList<const PageFacts *> &group : groupsOf(pages, key)) {
            if (group.size() < 2)
                continue;
            for (const PageFacts *page : group)
                out.append({page->page, tagOf(*page).line, rule,
                            QStringLiteral("the same %1 as %2")
                                .arg(QLatin1StringView(what), others(group, page)),
                            std::nullopt, column});
        }
    };
    const auto text = [](const ColumnTag &tag) {
        return tag.value ? site_text::collapsed(*tag.value) : QString();
    };
    shared(
        TitleDuplicate, SiteColumn::Title, "title",
        [&](const PageFacts &page) { return text(page.title); },
        [](const PageFacts &page) -> const ColumnTag & { return page.title; });
    shared(
        DescriptionDuplicate, SiteColumn::Description, "description",
        [&](const PageFacts &page) { return text(page.description); },
        [](const PageFacts &page) -> const ColumnTag & { return page.description; });

    QSet<QString> selves;
    for (const PageFacts &page : pages)
        selves.insert(page.selfKey);
    const QSet<QString> ends = pathEnds(pages);
    for (const QList<const PageFacts *> &group :
         groupsOf(pages, [](const PageFacts &page) { return page.canonicalKey; })) {
        const QString &key = group.constFirst()->canonicalKey;
        if (group.size() < 2 || selves.contains(key) || namesAPage(key, ends))
            continue;
        for (const PageFacts *page : group)
            out.append(
                {page->page, page->canonical.line, CanonicalShared,
                 QStringLiteral("the canonical address %1, shared with %2, is none of "
                                "the pages")
                     .arg(quotedText(addressText(*page->canonical.value)), others(group, page)),
                 std::nullopt, SiteColumn::Canonical});
    }
    return out;
}

QStringList obsoleteTagNames()
{
    QStringList names;
    for (const char *slot : obsoleteSlots)
        names << QString::fromLatin1(slot).section(QLatin1Char('='), 1);
    return names;
}

void sortFindings(QList<SiteFinding> *findings, const QStringList &pageOrder)
{
    QHash<QString, qsizetype> order;
    for (qsizetype i = 0; i < pageOrder.size(); ++i)
        order.insert(pageOrder[i], i);
    std::stable_sort(findings->begin(), findings->end(),
                     [&](const SiteFinding &a, const SiteFinding &b) {
                         const qsizetype pa = order.value(a.page, pageOrder.size());
                         const qsizetype pb = order.value(b.page, pageOrder.size());
                         if (pa != pb)
                             return pa < pb;
                         if (a.line != b.line)
                             return a.line < b.line;
                         return a.rule < b.rule;
                     });
}

} // namespace quill
