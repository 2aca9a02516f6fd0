#include "site/site_columns.h"

namespace quill {
namespace {

using enum SiteColumn;
using enum ColumnSource;
using enum MetaNaming;

constexpr std::array<ColumnDef, SiteColumnCount> columns{{
    {Page, "page", PagePath, "", None},
    {Charset, "charset", DeclaredCharset, "", None},
    {Lang, "lang", HtmlAttribute, "lang", None},
    {Title, "title", TitleText, "", None},
    {Description, "description", Meta, "description", Name},
    {Keywords, "keywords", Meta, "keywords", Name},
    {Author, "author", Meta, "author", Name},
    {Robots, "robots", Meta, "robots", Name},
    {Canonical, "canonical", LinkHref, "canonical", None},
    {OgTitle, "og:title", Meta, "og:title", PropertyOrName},
    {OgDescription, "og:description", Meta, "og:description", PropertyOrName},
    {OgImage, "og:image", Meta, "og:image", PropertyOrName},
    {OgUrl, "og:url", Meta, "og:url", PropertyOrName},
    {OgType, "og:type", Meta, "og:type", PropertyOrName},
    {TwitterCard, "twitter:card", Meta, "twitter:card", NameOrProperty},
    {TwitterTitle, "twitter:title", Meta, "twitter:title", NameOrProperty},
    {TwitterDescription, "twitter:description", Meta, "twitter:description", NameOrProperty},
    {TwitterImage, "twitter:image", Meta, "twitter:image", NameOrProperty},
}};

// Indexing by SiteColumn relies on the rows standing in its order.
constexpr bool inOrder()
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (static_cast<std::size_t>(columns[i].column) != i)
            return false;
    }
    return true;
}
static_assert(inOrder());

} // namespace

std::span<const ColumnDef, SiteColumnCount> siteColumns()
{
    return columns;
}

const ColumnDef &siteColumn(SiteColumn column)
{
    return columns[static_cast<std::size_t>(column)];
}

const ColumnDef *findSiteColumn(QByteArrayView key)
{
    for (const ColumnDef &def : columns) {
        if (key == QByteArrayView(def.key))
            return &def;
    }
    return nullptr;
}

} // namespace quill
