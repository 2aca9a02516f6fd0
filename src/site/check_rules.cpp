#include "site/check_rules.h"

namespace quill {
namespace {

using enum CheckRule;
using enum Severity;
using enum RuleScope;
using enum LimitUnit;

// The limits are those of the common search result previews: the title in Arial at 20 px
// on a line of 600 px, the description at 14 px, cut after 920 px.
constexpr std::array<RuleDef, CheckRuleCount> rules{{
    {TitleMissing, "title-missing", Error, Page,
     "the page has no <title>, which search results, tabs and bookmarks show", None, 0, 0},
    {TitleEmpty, "title-empty", Error, Page, "the <title> holds no text", None, 0, 0},
    {TitleMultiple, "title-multiple", Error, Page,
     "more than one <title>: HTML allows one, and browsers show the first", None, 0, 0},
    {TitleTooLong, "title-too-long", Warning, Page,
     "the title is wider than a search result's line, which cuts it", Pixels, 600, 20},
    {TitleTooShort, "title-too-short", Warning, Page,
     "a title this short tells a searcher little about the page", Pixels, 200, 20},
    {DescriptionMissing, "description-missing", Warning, Page,
     "no meta description: search engines make up a snippet of their own", None, 0, 0},
    {DescriptionMultiple, "description-multiple", Error, Page,
     "more than one meta description: HTML allows one", None, 0, 0},
    {DescriptionTooLong, "description-too-long", Warning, Page,
     "the description is wider than a search result's snippet, which cuts it", Pixels, 920, 14},
    {DescriptionTooShort, "description-too-short", Warning, Page,
     "a description this short leaves search engines to write their own", Characters, 70, 0},
    {CharsetMissing, "charset-missing", Warning, Page,
     "no character set declared: browsers guess it, and may guess wrong", None, 0, 0},
    {CharsetLate, "charset-late", Warning, Page,
     "the character set is not declared wholly within the first 1024 bytes, as HTML requires", None,
     0, 0},
    {CharsetNotUtf8, "charset-not-utf8", Info, Page,
     "the page is not in UTF-8, the character set HTML asks for", None, 0, 0},
    {CharsetMismatch, "charset-mismatch", Error, Page,
     "the page's bytes are not valid in the character set it declares", None, 0, 0},
    {LangMissing, "lang-missing", Warning, Page,
     "<html> has no lang: screen readers and translators must guess the language", None, 0, 0},
    {CanonicalRelative, "canonical-relative", Warning, Page,
     "the canonical address is relative; search engines expect an absolute one", None, 0, 0},
    {CanonicalInvalid, "canonical-invalid", Error, Page, "the canonical address is no valid URL",
     None, 0, 0},
    {CanonicalMultiple, "canonical-multiple", Error, Page,
     "more than one canonical link: search engines then ignore them all", None, 0, 0},
    {OgUrlDiffers, "og-url-differs", Warning, Page,
     "og:url is not the canonical address, so shares and searches name different pages", None, 0,
     0},
    {Noindex, "noindex", Info, Page,
     "robots says noindex: search engines leave the page out, which may be meant", None, 0, 0},
    {RefreshRedirect, "refresh-redirect", Warning, Page,
     "a refresh that sends the reader on: a server redirect is quicker and keeps the "
     "page's standing",
     None, 0, 0},
    {ObsoleteTag, "obsolete-tag", Info, Page, "a tag that today's search engines ignore", None, 0,
     0},
    {TitleDuplicate, "title-duplicate", Warning, Site,
     "other pages have the same title, so searchers cannot tell them apart", None, 0, 0},
    {DescriptionDuplicate, "description-duplicate", Warning, Site,
     "other pages have the same description, so their snippets look alike", None, 0, 0},
    {CanonicalShared, "canonical-shared", Error, Site,
     "several pages name one canonical address that is none of them: only it is indexed", None, 0,
     0},
}};

// Indexing by CheckRule relies on the rows standing in its order.
constexpr bool inOrder()
{
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (static_cast<std::size_t>(rules[i].rule) != i)
            return false;
    }
    return true;
}
static_assert(inOrder());

} // namespace

QLatin1StringView severityName(Severity severity)
{
    switch (severity) {
    case Error:
        return QLatin1StringView("error");
    case Warning:
        return QLatin1StringView("warning");
    case Info:
        break;
    }
    return QLatin1StringView("info");
}

std::span<const RuleDef, CheckRuleCount> checkRules()
{
    return rules;
}

const RuleDef &checkRule(CheckRule rule)
{
    return rules[static_cast<std::size_t>(rule)];
}

const RuleDef *findCheckRule(QStringView id)
{
    for (const RuleDef &def : rules) {
        if (id == QLatin1StringView(def.id))
            return &def;
    }
    return nullptr;
}

} // namespace quill
