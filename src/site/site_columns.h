#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <cstddef>
#include <span>

namespace quill {

// The columns of the site table, one page a row, in the order the table shows them.
enum class SiteColumn : int {
    Page,
    Charset,
    Lang,
    Title,
    Description,
    Keywords,
    Author,
    Robots,
    Canonical,
    OgTitle,
    OgDescription,
    OgImage,
    OgUrl,
    OgType,
    TwitterCard,
    TwitterTitle,
    TwitterDescription,
    TwitterImage,
};
inline constexpr std::size_t SiteColumnCount =
    static_cast<std::size_t>(SiteColumn::TwitterImage) + 1;

// Where a column's value stands in a page.
enum class ColumnSource {
    PagePath,        // the page's path as the table names it
    DeclaredCharset, // the character set the page declares
    HtmlAttribute,   // the attribute `tag` of <html>
    TitleText,       // the text of <title>
    Meta,            // the content of the <meta> named `tag`
    LinkHref,        // the href of <link rel=`tag`>
};

// The attribute of <meta> that holds a tag's name. The Open Graph tags are meant to be
// named with `property` and Twitter's with `name`, but real pages use either for both.
enum class MetaNaming {
    None,           // not a meta tag
    Name,           // name= only
    PropertyOrName, // written as property=, read from either
    NameOrProperty, // written as name=, read from either
};

struct ColumnDef {
    SiteColumn column;
    const char *key; // the header's name in CSV, the key in JSON Lines
    ColumnSource source;
    const char *tag; // the attribute, meta name or link relation read; "" when none
    MetaNaming naming;

    // The page's path and its declaration are facts about the file: a table shows them
    // but cannot change them.
    constexpr bool readOnly() const
    {
        return source == ColumnSource::PagePath || source == ColumnSource::DeclaredCharset;
    }
};

// The one table of the columns; indexed by SiteColumn. The table's reader and writer,
// the checks and the site window all read it.
std::span<const ColumnDef, SiteColumnCount> siteColumns();
const ColumnDef &siteColumn(SiteColumn column);
// The column of a header name or key (exact, as the table writes it); nullptr for none.
const ColumnDef *findSiteColumn(QByteArrayView key);

} // namespace quill
