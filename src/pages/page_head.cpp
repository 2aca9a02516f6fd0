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

constexpr qsizetype poolFrom = 64 * 1024;

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
        // A small page's blocks are taken from the arena as they come and never reused:
        // the pool's bookkeeping on each free would cost more than the memory it gives
        // back. A large page reuses freed blocks through the pool.
        m_options.userdata =
            text.size() < poolFrom ? static_cast<std::pmr::memory_resource *>(&m_arena) : &m_pool;
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
        // Most tags are no <noscript>: their first letter says so.
        if (end > text.size() || (text[name] | 0x20) != 'n' ||
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
    // An attribute without a value has its name for one.
    if (!attr || attr->original_value.data == attr->original_name.data)
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

// Where an attribute's value stands, or would stand, in the element.
void locateValue(const Source &source, const GumboElement &element, const char *name,
                 HeadItem *item)
{
    item->attribute = name;
    const GumboAttribute *attr = attribute(element, name);
    if (!attr) {
        // After the last attribute, or after the tag's name when it has none.
        qsizetype at = source.offset(element.start_pos) + 1 +
                       qsizetype(std::strlen(gumbo_normalized_tagname(element.tag)));
        const qsizetype tagEnd =
            source.offset(element.start_pos) + qsizetype(element.original_tag.length);
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto *other = static_cast<const GumboAttribute *>(element.attributes.data[i]);
            const bool bare = other->original_value.data == other->original_name.data;
            const qsizetype end = source.offset(bare ? other->name_end : other->value_end);
            // A later <html> tag adds its attributes to the first one's element.
            if (end <= tagEnd)
                at = std::max(at, end);
        }
        item->form = ValueForm::Missing;
        item->valueBegin = item->valueEnd = at;
        return;
    }
    item->text = attr->value;
    if (attr->original_value.data == attr->original_name.data) {
        item->form = ValueForm::Bare;
        item->valueBegin = item->valueEnd = source.offset(attr->name_end);
        return;
    }
    const qsizetype begin = source.offset(attr->original_value.data);
    const qsizetype length = qsizetype(attr->original_value.length);
    const char first = length > 0 ? attr->original_value.data[0] : '\0';
    if ((first == '"' || first == '\'') && length >= 2 &&
        attr->original_value.data[length - 1] == first) {
        item->form = ValueForm::Quoted;
        item->quote = first;
        item->valueBegin = begin + 1;
        item->valueEnd = begin + length - 1;
    } else {
        item->form = ValueForm::Unquoted;
        item->valueBegin = begin;
        item->valueEnd = begin + length;
    }
}

// The text of an element's text children, as the parser reads it.
QByteArray childText(const GumboElement &element)
{
    QByteArray out;
    for (unsigned i = 0; i < element.children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(element.children.data[i]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE)
            out += child->v.text.text;
    }
    return out;
}

// The slot of a link by its rel tokens: the page's canonical address, its icon or its
// style sheet.
QString linkSlot(const GumboElement &element)
{
    const GumboAttribute *rel = attribute(element, "rel");
    if (!rel)
        return {};
    bool icon = false, shortcut = false, sheet = false, other = false;
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
            if (is("canonical"))
                return QStringLiteral("link=canonical");
            if (is("icon"))
                icon = true;
            else if (is("shortcut"))
                shortcut = true;
            else if (is("stylesheet"))
                sheet = true;
            else
                other = true;
        }
        at = end + 1;
    }
    if (other)
        return {};
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
            item.form = ValueForm::Text;
            item.valueBegin = item.begin + 4;
            item.valueEnd = item.end - 3;
            item.text = node->v.text.text;
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
            const GumboAttribute *property = attribute(element, "property");
            if (name)
                item.slot = QStringLiteral("name=") + lowerValue(name);
            else if (equiv)
                item.slot = QStringLiteral("http-equiv=") + lowerValue(equiv);
            else if (property)
                item.slot = QStringLiteral("property=") + lowerValue(property);
            item.value = rawValue(source, content);
            locateValue(source, element, "content", &item);
            // Only a <meta charset> of its own declares: one that also carries a name or
            // an http-equiv may be replaced, and its declaration would go with it.
            CharsetDeclaration declaration{{}, item.line, false, item.begin, item.end};
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
            item.form = ValueForm::Text;
            item.valueBegin = item.end;
            item.valueEnd = item.end + textLength;
            item.text = childText(element);
            item.end = source.offset(element.end_pos) + qsizetype(element.original_end_tag.length);
            item.slot = QStringLiteral("title");
        } else if (element.tag == GUMBO_TAG_LINK) {
            item.slot = linkSlot(element);
            // A page may name several style sheets and icons: the first is the program's.
            // Every canonical link counts: a second one is a fault to report.
            const bool canonical = item.slot == QLatin1StringView("link=canonical");
            bool &seen = item.slot == QLatin1StringView("link=icon") ? icon : sheet;
            if (item.slot.isEmpty() || (!canonical && seen))
                continue;
            seen = seen || !canonical;
            item.value = rawValue(source, attribute(element, "href"));
            locateValue(source, element, "href", &item);
        }
        if (!item.slot.isEmpty())
            out.items << item;
    }
}

// The lang attribute of <html> and where the element begins.
void readHtml(const GumboNode *root, const Source &source, PageHead &out)
{
    const GumboElement &html = root->v.element;
    out.htmlStart = source.offset(html.start_pos);
    HeadItem item;
    locateValue(source, html, "lang", &item);
    if (const GumboAttribute *lang = attribute(html, "lang")) {
        item.slot = QStringLiteral("lang");
        item.begin = source.offset(lang->name_start);
        item.end = item.form == ValueForm::Bare ? item.valueEnd : source.offset(lang->value_end);
        item.line = int(lang->name_start.line);
        item.value = rawValue(source, lang);
        out.lang = item;
    } else if (html.original_tag.length > 0) {
        out.langAt = item.valueBegin;
    }
}

const GumboNode *firstChildElement(const GumboNode *parent)
{
    const GumboVector &children = parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *node = static_cast<const GumboNode *>(children.data[i]);
        if (node->type == GUMBO_NODE_ELEMENT)
            return node;
    }
    return nullptr;
}

} // namespace

QString itemText(QByteArrayView page, const HeadItem &item, const PageCharset &charset)
{
    if (item.form == ValueForm::Bare || item.form == ValueForm::Missing)
        return {};
    const QByteArrayView raw = page.sliced(item.valueBegin, item.valueEnd - item.valueBegin);
    if (charset.sameAs(PageCharset::utf8()) || isAscii(raw))
        return QString::fromUtf8(item.text);
    const QString decoded = charset.decode(raw);
    if (item.slot == QLatin1StringView("comment") ||
        (!decoded.contains(QLatin1Char('&')) && !decoded.contains(QLatin1Char('\r'))))
        return decoded;
    // The bytes that end the value are ASCII, so they stand where they stood.
    return readMarkup(decoded, item.form == ValueForm::Text, item.quote);
}

QString readMarkup(QStringView markup, bool title, char quote)
{
    const QByteArray utf8 = markup.toUtf8();
    const QByteArray quotes = quote ? QByteArray(1, quote) : QByteArray();
    const QByteArray snippet =
        title ? "<title>" + utf8 + "</title>" : "<meta content=" + quotes + utf8 + quotes + ">";
    const ParsedPage parsed(snippet);
    const GumboNode *head = childElement(parsed.root(), GUMBO_TAG_HEAD);
    const GumboNode *element = head ? firstChildElement(head) : nullptr;
    if (!element)
        return markup.toString();
    if (title)
        return QString::fromUtf8(childText(element->v.element));
    const GumboAttribute *content = attribute(element->v.element, "content");
    return content ? QString::fromUtf8(content->value) : markup.toString();
}

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
    // The head lies near the start: parse a part first, and more only when the parser
    // had not yet left the head within it; a part beyond half the page is the whole.
    for (qsizetype part = 2048;; part *= 4) {
        const bool whole = part * 2 > text.size();
        const QByteArrayView plain = whole ? text : text.first(part);
        const QByteArray scripted = withScriptsOn(plain);
        const QByteArrayView parsedText = scripted.isEmpty() ? plain : QByteArrayView(scripted);
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
        const Source source(page, bom, parsedText.data());
        readHeadChildren(head, source, out);
        readHtml(parsed.root(), source, out);
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
