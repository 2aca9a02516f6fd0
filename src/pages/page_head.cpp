#include "pages/page_head.h"

#include "pages/page_charset.h"

#include <gumbo.h>

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <memory>

namespace quill {
namespace {

// The parser's tree of one buffer, freed with it.
class ParsedPage
{
public:
    explicit ParsedPage(QByteArrayView text)
    {
        m_options = kGumboDefaultOptions;
        m_options.max_errors = 0; // the errors are of no use here and cost time
        m_output = gumbo_parse_with_options(&m_options, text.data(), size_t(text.size()));
    }
    ~ParsedPage() { gumbo_destroy_output(&m_options, m_output); }
    ParsedPage(const ParsedPage &) = delete;
    ParsedPage &operator=(const ParsedPage &) = delete;

    const GumboNode *document() const { return m_output->document; }
    const GumboNode *root() const { return m_output->root; }

private:
    GumboOptions m_options;
    GumboOutput *m_output;
};

const GumboNode *childElement(const GumboNode *parent, GumboTag tag)
{
    if (!parent || parent->type != GUMBO_NODE_ELEMENT)
        return nullptr;
    const GumboVector &children = parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *node = static_cast<const GumboNode *>(children.data[i]);
        if (node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag)
            return node;
    }
    return nullptr;
}

// Whether any markup of the text made it into the tree: a tag, a comment, a doctype.
bool holdsMarkup(const ParsedPage &parsed)
{
    if (parsed.document()->v.document.has_doctype)
        return true;
    // Without recursion: a page may nest elements without end.
    QList<const GumboNode *> pending{parsed.document()};
    while (!pending.isEmpty()) {
        const GumboNode *node = pending.takeLast();
        const GumboVector *children = nullptr;
        if (node->type == GUMBO_NODE_DOCUMENT) {
            children = &node->v.document.children;
        } else if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
            if (node->v.element.original_tag.length > 0)
                return true;
            children = &node->v.element.children;
        } else if (node->type == GUMBO_NODE_COMMENT) {
            return true;
        }
        for (unsigned i = 0; children && i < children->length; ++i)
            pending << static_cast<const GumboNode *>(children->data[i]);
    }
    return false;
}

// Whether the parser left the head for good before the end of a cut-off text: the
// body was begun by a tag or content that lies wholly within it. Later bytes cannot
// change it. A body the end of the text implied is no proof: it has neither.
bool headIsFinal(const ParsedPage &parsed, qsizetype parsedSize)
{
    const GumboNode *body = childElement(parsed.root(), GUMBO_TAG_BODY);
    if (!body || qsizetype(body->v.element.start_pos.offset) + 16 >= parsedSize)
        return false;
    return body->v.element.original_tag.length > 0 || body->v.element.children.length > 0;
}

QByteArray bytesOf(const GumboStringPiece &piece)
{
    return piece.length ? QByteArray(piece.data, qsizetype(piece.length)) : QByteArray();
}

const GumboAttribute *attribute(const GumboElement &element, const char *name)
{
    return gumbo_get_attribute(&element.attributes, name);
}

QString lowerValue(const GumboAttribute *attr)
{
    return QString::fromUtf8(attr->value).toLower();
}

// The attribute's value as written: without its quotes, &quot; read as a quote (the
// one character the program escapes in what it writes).
QByteArray rawValue(const GumboAttribute *attr)
{
    if (!attr)
        return {};
    QByteArray value = bytesOf(attr->original_value);
    if (!value.isEmpty() && (value.front() == '"' || value.front() == '\'')) {
        const char quote = value.front();
        value.remove(0, 1);
        if (value.endsWith(quote))
            value.chop(1);
    }
    return value.replace("&quot;", "\"");
}

// The slot of a link by its rel tokens: the page icon or the style sheet.
QString linkSlot(const GumboElement &element)
{
    const GumboAttribute *rel = attribute(element, "rel");
    if (!rel)
        return {};
    const QStringList tokens =
        lowerValue(rel).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const QSet<QString> set(tokens.begin(), tokens.end());
    if (set == QSet<QString>{QStringLiteral("icon")} ||
        set == QSet<QString>{QStringLiteral("shortcut"), QStringLiteral("icon")})
        return QStringLiteral("link=icon");
    if (set == QSet<QString>{QStringLiteral("stylesheet")})
        return QStringLiteral("link=stylesheet");
    return {};
}

// The text of a comment the program could have written: one line, no markup in it
// (a comment that hides tags, or a conditional comment, is the page's own).
bool commentText(const GumboText &comment, QByteArray *text)
{
    const QByteArray whole = bytesOf(comment.original_text);
    if (whole.size() < 7 || !whole.startsWith("<!--") || !whole.endsWith("-->"))
        return false;
    *text = whole.sliced(4, whole.size() - 7);
    return !text->contains('\n') && !text->contains('\r') && !text->contains('<');
}

void readHeadChildren(const GumboNode *head, qsizetype base, PageHead &out)
{
    bool comment = false, icon = false, sheet = false;
    const GumboVector &children = head->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *node = static_cast<const GumboNode *>(children.data[i]);
        HeadItem item;
        if (node->type == GUMBO_NODE_COMMENT) {
            if (comment || !commentText(node->v.text, &item.value))
                continue;
            comment = true;
            item.slot = QStringLiteral("comment");
            item.begin = base + node->v.text.start_pos.offset;
            item.end = item.begin + qsizetype(node->v.text.original_text.length);
            item.line = int(node->v.text.start_pos.line);
            out.items << item;
            continue;
        }
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboElement &element = node->v.element;
        if (element.original_tag.length == 0)
            continue;
        item.begin = base + element.start_pos.offset;
        item.end = item.begin + qsizetype(element.original_tag.length);
        item.line = int(element.start_pos.line);

        if (element.tag == GUMBO_TAG_META) {
            const GumboAttribute *content = attribute(element, "content");
            const GumboAttribute *charset = attribute(element, "charset");
            const GumboAttribute *name = attribute(element, "name");
            const GumboAttribute *equiv = attribute(element, "http-equiv");
            if (name)
                item.slot = QStringLiteral("name=") + lowerValue(name);
            else if (equiv)
                item.slot = QStringLiteral("http-equiv=") + lowerValue(equiv);
            item.value = rawValue(content);
            const bool contentType =
                !name && item.slot == QLatin1StringView("http-equiv=content-type");
            // Only a <meta charset> of its own declares: one that also carries a name or
            // an http-equiv may be replaced, and its declaration would go with it.
            const bool charsetAlone = charset && !name && !equiv;
            if (out.declaredCharset.isEmpty() && (charsetAlone || contentType)) {
                out.declaredCharset = charsetAlone ? QByteArray(charset->value).trimmed()
                                                   : charsetOfContentType(item.value);
                out.declaredCharsetLine = item.line;
                out.declaredByContentType = !charsetAlone;
            }
        } else if (element.tag == GUMBO_TAG_TITLE) {
            // The text between the tags as written; a title cut off by the end of the
            // page is the page's own.
            const qsizetype textLength = qsizetype(element.end_pos.offset) -
                                         element.start_pos.offset -
                                         qsizetype(element.original_tag.length);
            if (element.original_end_tag.length == 0 || textLength < 0)
                continue;
            item.value =
                QByteArray(element.original_tag.data + element.original_tag.length, textLength);
            item.end = base + element.end_pos.offset + qsizetype(element.original_end_tag.length);
            item.slot = QStringLiteral("title");
        } else if (element.tag == GUMBO_TAG_LINK) {
            item.slot = linkSlot(element);
            bool &seen = item.slot == QLatin1StringView("link=icon") ? icon : sheet;
            // A page may name several style sheets and icons: the first is the program's.
            if (item.slot.isEmpty() || seen)
                continue;
            seen = true;
            item.value = rawValue(attribute(element, "href"));
        }
        if (!item.slot.isEmpty())
            out.items << item;
    }
}

} // namespace

bool isMetaSlot(const QString &slot)
{
    return slot.startsWith(QLatin1StringView("name=")) ||
           slot.startsWith(QLatin1StringView("http-equiv="));
}

QString slotLabel(const QString &slot)
{
    const qsizetype equals = slot.indexOf(QLatin1Char('='));
    if (equals < 0)
        return slot == QLatin1StringView("title") ? QStringLiteral("<title>") : slot;
    const QString attribute = slot.left(equals);
    const bool link = attribute == QLatin1StringView("link");
    return QStringLiteral("<%1 %2=\"%3\">")
        .arg(link ? QStringLiteral("link") : QStringLiteral("meta"),
             link ? QStringLiteral("rel") : attribute, slot.mid(equals + 1));
}

PageHead readPageHead(QByteArrayView page)
{
    PageHead out;
    if (page.contains('\0'))
        return out;
    const qsizetype bom = utf8BomLength(page);
    const QByteArrayView text = page.sliced(bom);
    // The head lies near the start: parse a part first, and more only when the parser
    // had not yet left the head within it.
    for (qsizetype part = 2048;; part *= 4) {
        const bool whole = part >= text.size();
        const QByteArrayView parsedText = whole ? text : text.first(part);
        const ParsedPage parsed(parsedText);
        if (!whole && !(headIsFinal(parsed, parsedText.size()) && holdsMarkup(parsed)))
            continue;
        out.isHtml = holdsMarkup(parsed);
        const GumboNode *head = childElement(parsed.root(), GUMBO_TAG_HEAD);
        if (!out.isHtml || !head)
            return out;
        readHeadChildren(head, bom, out);
        out.headEnd = bom + head->v.element.end_pos.offset;
        return out;
    }
}

HeadItem readGeneratedLine(QByteArrayView line)
{
    const QByteArray text = "<head>" + line.toByteArray();
    const PageHead head = readPageHead(text);
    return head.items.isEmpty() ? HeadItem() : head.items.constFirst();
}

} // namespace quill
