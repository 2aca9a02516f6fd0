#include "pages/page_head.h"

#include "pages/page_charset.h"
#include "pages/page_nesting.h"

#include <gumbo.h>

#include <QLocale>

#include <algorithm>
#include <cstring>
#include <memory>
#include <memory_resource>

namespace quill {
namespace {

// The parser's memory comes from a pool, freed with it at once: the parser's own way
// of freeing its tree walks it recursively, which a deep tree takes beyond the stack.
// Each block keeps its size ahead of it for the pool, and is a whole number of
// alignments long, so that the pool's blocks of each size are aligned as malloc's.
constexpr std::size_t blockHeader = alignof(std::max_align_t);

std::size_t blockSize(std::size_t size)
{
    return (size + 2 * blockHeader - 1) / blockHeader * blockHeader;
}

void *allocateBlock(void *pool, std::size_t size)
{
    auto *resource = static_cast<std::pmr::memory_resource *>(pool);
    auto *block =
        static_cast<char *>(resource->allocate(blockSize(size), alignof(std::max_align_t)));
    std::memcpy(block, &size, sizeof size);
    return block + blockHeader;
}

void freeBlock(void *pool, void *pointer)
{
    if (!pointer)
        return;
    char *block = static_cast<char *>(pointer) - blockHeader;
    std::size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    static_cast<std::pmr::memory_resource *>(pool)->deallocate(block, blockSize(size),
                                                               alignof(std::max_align_t));
}

// The memory a thread lends the parse it runs: most pages parse within it, without a
// request to the system, which is most of a small parse's cost.
constexpr std::size_t scratchSize = 256 * 1024;
thread_local std::unique_ptr<std::byte[]> scratch;
thread_local bool scratchLent = false;

// The parser's tree of one buffer, freed with it.
class ParsedPage
{
public:
    explicit ParsedPage(QByteArrayView text)
        : m_lent(!scratchLent)
        , m_arena(m_lent ? scratchBuffer() : nullptr, m_lent ? scratchSize : 0)
        , m_pool(&m_arena)
    {
        scratchLent = true;
        m_options = kGumboDefaultOptions;
        m_options.max_errors = 0; // the errors are of no use here and cost time
        m_options.allocator = allocateBlock;
        m_options.deallocator = freeBlock;
        m_options.userdata = &m_pool;
        m_output = gumbo_parse_with_options(&m_options, text.data(), size_t(text.size()));
    }
    ~ParsedPage()
    {
        if (m_lent)
            scratchLent = false;
    }
    ParsedPage(const ParsedPage &) = delete;
    ParsedPage &operator=(const ParsedPage &) = delete;

    const GumboNode *document() const { return m_output->document; }
    const GumboNode *root() const { return m_output->root; }

private:
    static void *scratchBuffer()
    {
        if (!scratch)
            scratch = std::make_unique<std::byte[]>(scratchSize);
        return scratch.get();
    }

    bool m_lent;
    std::pmr::monotonic_buffer_resource m_arena;
    std::pmr::unsynchronized_pool_resource m_pool;
    GumboOptions m_options;
    GumboOutput *m_output;
};

bool isBlank(char c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

bool isTagEnd(char c)
{
    return isBlank(c) || c == '/' || c == '>';
}

// The text as the parser is to read it: each <noscript> and </noscript> tag renamed
// <noframes>, an element of the same length whose content is text, as a browser with
// scripts on reads a <noscript>; offsets and lines stay. Empty when there is none.
QByteArray withScriptsOn(QByteArrayView text)
{
    constexpr QByteArrayView noscript = "noscript";
    QByteArray out;
    for (qsizetype at = 0; at < text.size();) {
        const char *lt = static_cast<const char *>(
            std::memchr(text.data() + at, '<', std::size_t(text.size() - at)));
        if (!lt)
            break;
        qsizetype name = lt - text.data() + 1;
        if (name < text.size() && text[name] == '/')
            ++name;
        at = name;
        const qsizetype end = name + noscript.size();
        if (end > text.size() ||
            text.sliced(name, noscript.size()).compare(noscript, Qt::CaseInsensitive) != 0 ||
            (end < text.size() && !isTagEnd(text[end])))
            continue;
        if (out.isEmpty())
            out = text.toByteArray();
        std::memcpy(out.data() + name, "noframes", std::size_t(noscript.size()));
        at = end;
    }
    return out;
}

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

// The page's own bytes for what the parser read from its copy of them.
class Source
{
public:
    Source(QByteArrayView page, qsizetype base, const char *parsed)
        : m_page(page)
        , m_base(base)
        , m_parsed(parsed)
    {}

    qsizetype offset(const char *at) const { return m_base + (at - m_parsed); }
    qsizetype offset(const GumboSourcePosition &at) const { return m_base + qsizetype(at.offset); }
    QByteArray bytes(qsizetype begin, qsizetype length) const
    {
        return length > 0 ? m_page.sliced(begin, length).toByteArray() : QByteArray();
    }
    QByteArray bytes(const GumboStringPiece &piece) const
    {
        return piece.length ? bytes(offset(piece.data), qsizetype(piece.length)) : QByteArray();
    }

private:
    QByteArrayView m_page;
    qsizetype m_base;
    const char *m_parsed;
};

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
QByteArray rawValue(const Source &source, const GumboAttribute *attr)
{
    if (!attr)
        return {};
    QByteArray value = source.bytes(attr->original_value);
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
    bool icon = false, shortcut = false, sheet = false;
    const QByteArrayView value(rel->value);
    for (qsizetype at = 0; at < value.size();) {
        qsizetype end = at;
        while (end < value.size() && !isBlank(value[end]))
            ++end;
        if (end > at) {
            const QByteArrayView token = value.sliced(at, end - at);
            const auto is = [&token](const char *word) {
                return token.compare(word, Qt::CaseInsensitive) == 0;
            };
            if (is("icon"))
                icon = true;
            else if (is("shortcut"))
                shortcut = true;
            else if (is("stylesheet"))
                sheet = true;
            else
                return {};
        }
        at = end + 1;
    }
    if (icon && !sheet)
        return QStringLiteral("link=icon");
    if (sheet && !icon && !shortcut)
        return QStringLiteral("link=stylesheet");
    return {};
}

// The text of a comment the program could have written: one line, no markup in it
// (a comment that hides tags, or a conditional comment, is the page's own).
bool commentText(const QByteArray &whole, QByteArray *text)
{
    if (whole.size() < 7 || !whole.startsWith("<!--") || !whole.endsWith("-->"))
        return false;
    *text = whole.sliced(4, whole.size() - 7);
    return !text->contains('\n') && !text->contains('\r') && !text->contains('<');
}

// The title's text with the program's escape of "</title" read back.
QByteArray titleText(QByteArray text)
{
    constexpr QByteArrayView escaped = "&lt;/title";
    for (qsizetype at = text.indexOf("&lt;/"); at >= 0; at = text.indexOf("&lt;/", at + 1)) {
        const qsizetype end = at + escaped.size();
        if (end < text.size() && isTagEnd(text[end]) &&
            QByteArrayView(text).sliced(at + 5, 5).compare("title", Qt::CaseInsensitive) == 0)
            text.replace(at, 4, "<");
    }
    return text;
}

void readHeadChildren(const GumboNode *head, const Source &source, PageHead &out)
{
    bool comment = false, icon = false, sheet = false;
    const GumboVector &children = head->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *node = static_cast<const GumboNode *>(children.data[i]);
        HeadItem item;
        if (node->type == GUMBO_NODE_COMMENT) {
            if (comment || !commentText(source.bytes(node->v.text.original_text), &item.value))
                continue;
            comment = true;
            item.slot = QStringLiteral("comment");
            item.begin = source.offset(node->v.text.start_pos);
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
        item.begin = source.offset(element.start_pos);
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
            item.value = rawValue(source, content);
            // Only a <meta charset> of its own declares: one that also carries a name or
            // an http-equiv may be replaced, and its declaration would go with it.
            CharsetDeclaration declaration{{}, item.line, false};
            if (charset && !name && !equiv) {
                declaration.label = QByteArray(charset->value).trimmed();
            } else if (!name && content &&
                       item.slot == QLatin1StringView("http-equiv=content-type")) {
                declaration.label = charsetOfContentType(content->value);
                declaration.byContentType = true;
            }
            if (!declaration.label.isEmpty())
                out.declarations << declaration;
        } else if (element.tag == GUMBO_TAG_TITLE) {
            // The text between the tags as written; a title cut off by the end of the
            // page is the page's own.
            const qsizetype textLength = qsizetype(element.end_pos.offset) -
                                         element.start_pos.offset -
                                         qsizetype(element.original_tag.length);
            if (element.original_end_tag.length == 0 || textLength < 0)
                continue;
            item.value = titleText(source.bytes(item.end, textLength));
            item.end = source.offset(element.end_pos) + qsizetype(element.original_end_tag.length);
            item.slot = QStringLiteral("title");
        } else if (element.tag == GUMBO_TAG_LINK) {
            item.slot = linkSlot(element);
            bool &seen = item.slot == QLatin1StringView("link=icon") ? icon : sheet;
            // A page may name several style sheets and icons: the first is the program's.
            if (item.slot.isEmpty() || seen)
                continue;
            seen = true;
            item.value = rawValue(source, attribute(element, "href"));
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

QString titleMarkup(const QString &text)
{
    QString out = text;
    const QString end = QStringLiteral("</title");
    for (qsizetype at = out.indexOf(end, 0, Qt::CaseInsensitive); at >= 0;
         at = out.indexOf(end, at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + end.size();
        if (after < out.size() && out[after].unicode() < 0x80 &&
            isTagEnd(char(out[after].unicode())))
            out.replace(at, 1, QStringLiteral("&lt;"));
    }
    return out;
}

PageHead readPageHead(QByteArrayView page)
{
    PageHead out;
    if (page.contains('\0'))
        return out;
    const qsizetype bom = utf8BomLength(page);
    const QByteArrayView text = page.sliced(bom);
    const QByteArray scripted = withScriptsOn(text);
    const QByteArrayView read = scripted.isEmpty() ? text : QByteArrayView(scripted);
    // The head lies near the start: parse a part first, and more only when the parser
    // had not yet left the head within it; a part beyond half the page is the whole.
    for (qsizetype part = 2048;; part *= 4) {
        const bool whole = part * 2 > read.size();
        const QByteArrayView parsedText = whole ? read : read.first(part);
        // The parser's time grows with the depth of what it reads, and no page nests
        // that deep: such a page is refused before it is parsed. (Each element takes at
        // least three bytes to open.)
        if (parsedText.size() > 3 * NestingLimit &&
            nestingDepth(parsedText, NestingLimit) > NestingLimit) {
            out.isHtml = true;
            out.error = QStringLiteral("The page nests elements more than %1 deep")
                            .arg(QLocale(QLocale::English).toString(NestingLimit));
            return out;
        }
        const ParsedPage parsed(parsedText);
        if (!whole && !(headIsFinal(parsed, parsedText.size()) && holdsMarkup(parsed)))
            continue;
        out.isHtml = holdsMarkup(parsed);
        const GumboNode *head = childElement(parsed.root(), GUMBO_TAG_HEAD);
        if (!out.isHtml || !head)
            return out;
        readHeadChildren(head, Source(page, bom, parsedText.data()), out);
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
