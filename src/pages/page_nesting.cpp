#include "pages/page_nesting.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace quill {
namespace {

bool isSpace(char c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool among(const QByteArray &name, std::initializer_list<const char *> names)
{
    return std::any_of(names.begin(), names.end(),
                       [&name](const char *one) { return name == one; });
}

bool isVoid(const QByteArray &name)
{
    return among(name, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr",
                        "image", "img", "input", "keygen", "link", "meta", "param", "source",
                        "track", "wbr"});
}

// The elements whose content is text up to their own end tag: with scripts on, as
// browsers run, <noscript> too.
bool holdsText(const QByteArray &name)
{
    return among(name, {"script", "style", "title", "textarea", "xmp", "iframe", "noembed",
                        "noframes", "noscript"});
}

bool endsParagraph(const QByteArray &name)
{
    return among(name,
                 {"address", "article", "aside",  "blockquote", "center", "dd",       "details",
                  "dialog",  "dir",     "div",    "dl",         "dt",     "fieldset", "figcaption",
                  "figure",  "footer",  "form",   "h1",         "h2",     "h3",       "h4",
                  "h5",      "h6",      "header", "hgroup",     "hr",     "li",       "listing",
                  "main",    "menu",    "nav",    "ol",         "p",      "pre",      "search",
                  "section", "summary", "table",  "ul",         "xmp"});
}

// Whether a start tag of `name` ends the element `open` that is the current one.
bool closes(const QByteArray &name, const QByteArray &open)
{
    if (open == "p")
        return endsParagraph(name);
    if (open == "li")
        return name == "li";
    if (open == "dd" || open == "dt")
        return name == "dd" || name == "dt";
    if (open == "option")
        return name == "option" || name == "optgroup";
    if (open == "optgroup")
        return name == "optgroup";
    if (open == "td" || open == "th")
        return among(name, {"td", "th", "tr", "tbody", "thead", "tfoot"});
    if (open == "tr")
        return among(name, {"tr", "tbody", "thead", "tfoot"});
    if (among(open, {"tbody", "thead", "tfoot"}))
        return among(name, {"tbody", "thead", "tfoot"});
    return false;
}

class Scanner
{
public:
    explicit Scanner(QByteArrayView text)
        : m_text(text)
    {}

    int depth(int limit)
    {
        qsizetype at = 0;
        while (at < m_text.size() && m_deepest <= limit) {
            const char *lt = static_cast<const char *>(
                std::memchr(m_text.data() + at, '<', std::size_t(m_text.size() - at)));
            if (!lt)
                break;
            at = tag(lt - m_text.data());
        }
        return m_deepest;
    }

private:
    char at(qsizetype i) const { return i < m_text.size() ? m_text[i] : '\0'; }

    qsizetype find(QByteArrayView what, qsizetype from) const
    {
        const qsizetype found = m_text.indexOf(what, from);
        return found < 0 ? m_text.size() : found;
    }

    // The tag name from `from`, lower-cased, and where it ends.
    QByteArray name(qsizetype from, qsizetype *end) const
    {
        QByteArray out;
        qsizetype i = from;
        while (i < m_text.size() && !isSpace(m_text[i]) && m_text[i] != '/' && m_text[i] != '>') {
            const char c = m_text[i];
            out += (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
            ++i;
        }
        *end = i;
        return out;
    }

    qsizetype pastSpaces(qsizetype i) const
    {
        while (i < m_text.size() && isSpace(m_text[i]))
            ++i;
        return i;
    }

    // Past the attributes of a tag to its '>', as the tokenizer reads them: a quote
    // opens a value only right after the '=' (and blanks).
    qsizetype pastAttributes(qsizetype i) const
    {
        for (;;) {
            while (i < m_text.size() && (isSpace(m_text[i]) || m_text[i] == '/'))
                ++i;
            if (i >= m_text.size())
                return m_text.size();
            if (m_text[i] == '>')
                return i + 1;
            ++i; // the name's first character, whatever it is
            while (i < m_text.size() && !isSpace(m_text[i]) && m_text[i] != '/' &&
                   m_text[i] != '>' && m_text[i] != '=')
                ++i;
            i = pastSpaces(i);
            if (at(i) != '=')
                continue;
            i = pastSpaces(i + 1);
            const char quote = at(i);
            if (quote == '"' || quote == '\'') {
                const qsizetype close = m_text.indexOf(quote, i + 1);
                i = close < 0 ? m_text.size() : close + 1;
            } else {
                while (i < m_text.size() && !isSpace(m_text[i]) && m_text[i] != '>')
                    ++i;
            }
        }
    }

    // Past the text of an element that holds text, to the end tag that closes it.
    qsizetype pastText(const QByteArray &name, qsizetype i) const
    {
        const QByteArray end = "</" + name;
        while (i < m_text.size()) {
            const qsizetype found = find("</", i);
            if (found == m_text.size())
                return found;
            const qsizetype after = found + end.size();
            if (m_text.sliced(found, std::min(end.size(), m_text.size() - found))
                        .compare(end, Qt::CaseInsensitive) == 0 &&
                (after == m_text.size() || isSpace(m_text[after]) || m_text[after] == '/' ||
                 m_text[after] == '>'))
                return found;
            i = found + 2;
        }
        return i;
    }

    // Reads the markup that starts at `lt` and returns where it ends.
    qsizetype tag(qsizetype lt)
    {
        const char next = at(lt + 1);
        if (next == '!') {
            if (m_text.sliced(lt).startsWith("<!--")) {
                const qsizetype body = lt + 4;
                if (at(body) == '>')
                    return body + 1;
                if (at(body) == '-' && at(body + 1) == '>')
                    return body + 2;
                for (qsizetype dashes = find("--", body); dashes < m_text.size();
                     dashes = find("--", dashes + 1)) {
                    if (at(dashes + 2) == '>')
                        return dashes + 3;
                    if (at(dashes + 2) == '!' && at(dashes + 3) == '>')
                        return dashes + 4;
                }
                return m_text.size();
            }
            if (m_text.sliced(lt).startsWith("<![CDATA["))
                return std::min(m_text.size(), find("]]>", lt + 9) + 3);
            return std::min(m_text.size(), find(">", lt) + 1);
        }
        if (next == '?')
            return std::min(m_text.size(), find(">", lt) + 1);
        if (next == '/') {
            if (!isLetter(at(lt + 2)))
                return std::min(m_text.size(), find(">", lt) + 1);
            qsizetype end = 0;
            const QByteArray closed = name(lt + 2, &end);
            if (m_open.value(closed) > 0) {
                while (pop() != closed) {}
            }
            return pastAttributes(end);
        }
        if (!isLetter(next))
            return lt + 1;
        qsizetype end = 0;
        const QByteArray opened = name(lt + 1, &end);
        const qsizetype after = pastAttributes(end);
        while (!m_stack.isEmpty() && closes(opened, m_stack.constLast()))
            pop();
        if (opened == "plaintext")
            return m_text.size();
        if (isVoid(opened))
            return after;
        if (holdsText(opened))
            return pastText(opened, after);
        m_stack << opened;
        ++m_open[opened];
        m_deepest = std::max(m_deepest, int(m_stack.size()));
        return after;
    }

    QByteArray pop()
    {
        const QByteArray last = m_stack.takeLast();
        --m_open[last];
        return last;
    }

    QByteArrayView m_text;
    QList<QByteArray> m_stack;
    QHash<QByteArray, int> m_open;
    int m_deepest = 0;
};

} // namespace

int nestingDepth(QByteArrayView text, int limit)
{
    return Scanner(text).depth(limit);
}

} // namespace quill
