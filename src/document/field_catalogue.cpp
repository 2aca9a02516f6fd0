#include "document/field_catalogue.h"

#include <QLatin1StringView>

#include <algorithm>
#include <string>

namespace quill {
namespace {

constexpr const char *distributionItems[] = {"Global", "Regional", "Limited"};
constexpr const char *ratingItems[] = {"General", "Adult", "Children", "Restricted", "13 Years"};
constexpr const char *robotsItems[] = {"Follow", "NoIndex", "Index", "All", "Nofollow", "None"};
// The character-set list, item by item: the label the generated Content-Type line
// declares, the encoding browsers read that label as (the WHATWG Encoding Standard reads
// "ISO-8859-1" as windows-1252 and "ISO-8859-9" as windows-1254), and its note. UTF-8
// comes last, so the positions stored before it keep their meaning.
constexpr CharacterSetDef characterSets[] = {
    {"ISO-8859-1", "windows-1252",
     "Afrikaans, Basque, Catalan, Danish, Dutch, English, Faeroese, Finnish, French, Galician, "
     "German, Icelandic, Irish, Italian, Norwegian, Portuguese, Spanish and Swedish."},
    {"ISO-8859-2", "ISO-8859-2", "Latin-written Slavic and Central European languages."},
    {"ISO-8859-3", "ISO-8859-3", "Esperanto, Galician, Maltese, and Turkish."},
    {"ISO-8859-4", "ISO-8859-4", "Scandinavia/Baltic."},
    {"ISO-8859-5", "ISO-8859-5", "Cyrillic."},
    {"ISO-8859-6", "ISO-8859-6", "Arabic."},
    {"ISO-8859-7", "ISO-8859-7", "Modern Greek."},
    {"ISO-8859-8", "ISO-8859-8", "Hebrew."},
    {"ISO-8859-9", "windows-1254",
     "Afrikaans, Basque, Catalan, Danish, Dutch, English, Faeroese, Finnish, French, Galician, "
     "German, Turkish, Irish, Italian, Norwegian, Portuguese, Spanish and Swedish."},
    {"UTF-8", "UTF-8", "All languages: the character set of nearly every page on the web today."},
};
constexpr auto charSetItems = [] {
    std::array<const char *, std::size(characterSets)> items{};
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = characterSets[i].item;
    return items;
}();
// "sl" stands before "sg": the stored indexes depend on this order.
constexpr const char *languageItems[] = {
    "af",    "ar", "be", "bg", "ca", "cs", "da", "de", "el", "en", "en-au", "en-ca", "en-nz",
    "en-us", "es", "et", "eu", "fa", "fi", "fo", "fr", "gd", "he", "hi",    "hr",    "hu",
    "in",    "is", "it", "ja", "ji", "ko", "lt", "lv", "mk", "ms", "mt",    "nl",    "no",
    "pl",    "pt", "rm", "ro", "ru", "sb", "sk", "sl", "sg", "sr", "sv",    "sx",    "sz",
    "th",    "tn", "tr", "ts", "uk", "ur", "ve", "vi", "xh", "zh", "zu"};
constexpr const char *weekdayItems[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char *dayItems[] = {
    "01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12", "13", "14", "15", "16",
    "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31"};
constexpr const char *monthItems[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char *pragmaItems[] = {"Cache", "No-Cache"};
constexpr const char *targetItems[] = {"_blank", "_parent", "_self", "_top"};
constexpr const char *scriptItems[] = {"text/javascript", "text/jscript", "text/vbscript",
                                       "text/php", "text/tcl"};
constexpr const char *styleItems[] = {"text/css"};
// Not sorted, and "Avaition" is spelled so: both are part of the stored format.
constexpr const char *classificationItems[] = {"Adults",
                                               "Advertising",
                                               "Agriculture",
                                               "Antiques",
                                               "Art",
                                               "Arts and Crafts",
                                               "Arts and Humanities",
                                               "Automotive",
                                               "Avaition",
                                               "Bar",
                                               "Business Banking",
                                               "Business Supplies",
                                               "Business and Economy",
                                               "Business and Finance",
                                               "Career Services",
                                               "Catalogs",
                                               "Children",
                                               "Christmas",
                                               "Commercial",
                                               "Communications",
                                               "Computers and Internet",
                                               "Computers Multimedia",
                                               "Computers",
                                               "Construction",
                                               "Consumer",
                                               "Consumer Children",
                                               "Consumer Electronics",
                                               "Design",
                                               "Drinks",
                                               "Education",
                                               "Entertainment",
                                               "Family",
                                               "Family Services",
                                               "Flags",
                                               "Flowers",
                                               "Food and Beverage",
                                               "General Hardware",
                                               "General Software",
                                               "Gift baskets",
                                               "Gifts",
                                               "Government",
                                               "Hardware",
                                               "Health",
                                               "Health and Fitness",
                                               "Hobbies",
                                               "Home and Family",
                                               "Human Resources",
                                               "Index Site",
                                               "Internet Services",
                                               "Math",
                                               "Media",
                                               "Medical",
                                               "Medical Equipment",
                                               "Miscellaneous",
                                               "Museums",
                                               "News and Media",
                                               "Personal",
                                               "Photograph",
                                               "Pictures",
                                               "Program",
                                               "Programming",
                                               "Property and Building",
                                               "Recreation",
                                               "Science",
                                               "Science and Technology",
                                               "Security Services",
                                               "Shopping and Services",
                                               "Social Science",
                                               "Society and Culture",
                                               "Software",
                                               "Sports",
                                               "Sports and Recreation",
                                               "Tourism",
                                               "Travel",
                                               "Travel Agents",
                                               "Web Hosting",
                                               "Web Programming",
                                               "Web Site Promotion"};

constexpr std::span<const char *const> none{};

constexpr FieldDef edit(Field id, const char *key, Owner owner, Page page, const char *control,
                        const char *label, int limit, const char *hint, int offset, int capacity,
                        FieldGeometry geometry, const char *startText = "",
                        std::optional<Field> quickInsertFrom = {})
{
    return {id,     owner,    page,     FieldKind::Edit, control, key,
            label,  limit,    hint,     startText,       -1,      none,
            offset, capacity, geometry, quickInsertFrom};
}

constexpr FieldDef list(Field id, const char *key, Page page, const char *control,
                        const char *label, std::span<const char *const> items, int startIndex,
                        int offset, FieldGeometry geometry)
{
    return {id,      Owner::Main, page,       FieldKind::List, control, key, label,    0,
            nullptr, "",          startIndex, items,           offset,  0,   geometry, {}};
}

constexpr FieldDef check(Field id, const char *key, Page page, const char *control,
                         const char *caption, int offset, FieldGeometry geometry)
{
    return {id, Owner::Main, page, FieldKind::Check, control, key,      caption, 0, nullptr,
            "", -1,          none, offset,           0,       geometry, {}};
}

constexpr Owner M = Owner::Main;
constexpr Page B = Page::Basic;
constexpr Page A = Page::Advanced;
constexpr Page X = Page::ExtraTags;
constexpr Page D = Page::DcTags;

constexpr auto row = rowTop;

using F = Field;

constexpr std::array<FieldDef, FieldCount> catalogue = {{
    // Basic
    edit(F::Edit1, "description", M, B, "Edit1", "Description:", 250,
         "Enter a description of your site (max 250 characters)", 0, 250,
         {"Panel2", 96, row(0), 305, 8}),
    edit(F::Edit2, "keywords", M, B, "Edit2", "Keywords:", 200,
         "Enter keywords that describe your site. Seperate keywords with commas. Max 200 "
         "characters.",
         251, 200, {"Panel2", 96, row(1), 305, 8}),
    edit(F::Edit3, "author", M, B, "Edit3", "Author:", 75,
         "Enter the persons name who made the website here.", 452, 30,
         {"Panel2", 96, row(2), 337, 8}),
    edit(F::Edit4, "generator", M, B, "Edit4", "Generator:", 75,
         "Enter the name of the program in which you made your website.", 483, 30,
         {"Panel2", 96, row(3), 337, 8}),
    edit(F::Edit5, "revisit-after", M, B, "Edit5", "Revisit after:", 2,
         "Enter the number of days which must go by before the search engine comes back to "
         "re-evaluate your sites' contents.",
         514, 2, {"Panel2", 96, row(4), 25, 8}),
    edit(F::Edit6, "title", M, B, "Edit6", "Title:", 75, "Enter the title of your web page here.",
         517, 30, {"Panel2", 96, row(5), 305, 8}),
    edit(F::Edit7, "copyright", M, B, "Edit7", "Copyright:", 75,
         "Enter the years in which your website is copyrighted", 548, 30,
         {"Panel2", 96, row(6), 305, 8}),
    list(F::ComboBox1, "distribution", B, "ComboBox1", "Distribution:", distributionItems, 0, 580,
         {"Panel2", 96, row(7), 97, 8}),
    list(F::ComboBox2, "rating", B, "ComboBox2", "Rating:", ratingItems, 0, 584,
         {"Panel2", 96, row(8), 97, 8}),
    list(F::ComboBox3, "robots", B, "ComboBox3", "Robots:", robotsItems, 3, 588,
         {"Panel2", 96, row(9), 97, 8}),

    // Advanced
    list(F::ComboBox4, "charset", A, "ComboBox4", "Choose a Character Set: ", charSetItems, 0, 592,
         {"GroupBox1", 152, 27, 89, 8}),
    list(F::ComboBox5, "language", A, "ComboBox5", "Language:", languageItems, 9, 596,
         {"Panel1", 96, 136, 57, 8}),
    edit(F::Edit8, "refresh-url", M, A, "Edit8", "Refresh:", 75,
         "Enter page to which the user must be redirected.", 600, 50, {"Panel1", 160, 168, 137, 8}),
    edit(F::Edit9, "refresh-seconds", M, A, "Edit9", "in ", 3,
         "After how many seconds should the user be redirected?", 651, 3,
         {"Panel1", 320, 168, 33, 304}),
    list(F::ComboBox6, "expires-weekday", A, "ComboBox6", "Expires:", weekdayItems, 0, 656,
         {"Panel1", 96, 200, 49, 8}),
    list(F::ComboBox7, "expires-day", A, "ComboBox7", nullptr, dayItems, 0, 660,
         {"Panel1", 152, 200, 41, -1}),
    list(F::ComboBox8, "expires-month", A, "ComboBox8", nullptr, monthItems, 0, 664,
         {"Panel1", 200, 200, 49, -1}),
    edit(F::Edit10, "expires-year", M, A, "Edit10", "Year:", 4, "Enter year.", 668, 4,
         {"Panel1", 288, 200, 33, 256}),
    edit(F::Edit11, "expires-hours", M, A, "Edit11", "Time:", 2, "Hours", 673, 2,
         {"Panel1", 360, 200, 25, 328}),
    edit(F::Edit12, "expires-minutes", M, A, "Edit12", ":", 2, "Minutes", 676, 2,
         {"Panel1", 400, 200, 25, 392}),

    // Page head, held by the Preferences dialog
    edit(F::PageTitle, "page-title", Owner::Preferences, Page::None, "Edit1", "Page Title: ", 50,
         nullptr, 679, 50, {"GroupBox3", 96, 20, 257, 16}),
    edit(F::ExternalCss, "external-css", Owner::Preferences, Page::None, "Edit2",
         "External CSS:", 50, nullptr, 730, 50, {"GroupBox3", 96, 52, 257, 16}),
    edit(F::FaviconUrl, "favicon-url", Owner::Preferences, Page::None, "Edit3", "Favicon URL:", 50,
         nullptr, 781, 50, {"GroupBox3", 96, 84, 257, 16}),

    // Extra Tags
    list(F::ComboBox9, "pragma", X, "ComboBox9", "Pragma:", pragmaItems, 0, 832,
         {"Panel3", 96, row(0), 121, 8}),
    list(F::ComboBox10, "window-target", X, "ComboBox10", "Window Target:", targetItems, 3, 836,
         {"Panel3", 96, row(1), 121, 8}),
    edit(F::Edit16, "pics-label", M, X, "Edit16", "PICS Label:", 250, "Enter PICS label tag text",
         840, 250, {"Panel3", 96, row(2), 337, 8}),
    list(F::ComboBox11, "script-type", X, "ComboBox11", "Content Script Type: ", scriptItems, 0,
         1092, {"Panel3", 120, row(3), 97, 8}),
    check(F::CheckBox2, "script-type-other-checked", X, "CheckBox2", "Other", 1096,
          {"Panel3", 232, row(3), 49, -1}),
    edit(F::Edit33, "script-type-other", M, X, "Edit33", nullptr, 30,
         "Insert other scripting language type", 1097, 30, {"Panel3", 304, row(3), 129, -1}),
    list(F::ComboBox12, "style-type", X, "ComboBox12", "Content Style Type:", styleItems, 0, 1128,
         {"Panel3", 120, row(4), 97, 8}),
    check(F::CheckBox3, "style-type-other-checked", X, "CheckBox3", "Other", 1132,
          {"Panel3", 232, row(4), 49, -1}),
    edit(F::Edit34, "style-type-other", M, X, "Edit34", nullptr, 30, "Enter other style type", 1133,
         30, {"Panel3", 304, row(4), 129, -1}),
    list(F::ComboBox13, "classification", X, "ComboBox13", "Classification:", classificationItems,
         0, 1164, {"Panel3", 96, 128, 185, 8}),
    edit(F::Edit17, "comment", M, X, "Edit17", nullptr, 50,
         "Insert comments (description) or press the QuickInsert button", 1168, 50,
         {"GroupBox2", 8, 24, 409, -1}, "", F::Edit1),

    // DC Tags: no hints; the left panel, then the right one
    edit(F::Edit18, "dc-title", M, D, "Edit18", "Title:", 30, nullptr, 1219, 30,
         {"Panel4", 72, row(0), 129, 8}, "", F::Edit6),
    edit(F::Edit19, "dc-creator", M, D, "Edit19", "Creator:", 30, nullptr, 1250, 30,
         {"Panel4", 72, row(1), 129, 8}, "", F::Edit3),
    edit(F::Edit21, "dc-subject", M, D, "Edit21", "Subject:", 30, nullptr, 1281, 30,
         {"Panel4", 72, row(2), 129, 8}, "", F::Edit2),
    edit(F::Edit20, "dc-description", M, D, "Edit20", "Description:", 30, nullptr, 1312, 30,
         {"Panel4", 72, row(3), 129, 8}, "", F::Edit1),
    edit(F::Edit22, "dc-publisher", M, D, "Edit22", "Publisher:", 30, nullptr, 1343, 30,
         {"Panel4", 72, row(4), 129, 8}),
    edit(F::Edit23, "dc-contributor", M, D, "Edit23", "Contributor:", 30, nullptr, 1374, 30,
         {"Panel4", 72, row(5), 129, 8}),
    edit(F::Edit24, "dc-date", M, D, "Edit24", "Date:", 10, nullptr, 1405, 10,
         {"Panel4", 72, row(6), 129, 8}, "YYYY-MM-DD"),
    edit(F::Edit25, "dc-type", M, D, "Edit25", "Type:", 30, nullptr, 1416, 30,
         {"Panel4", 72, row(7), 129, 8}),
    edit(F::Edit26, "dc-format", M, D, "Edit26", "Format", 30, nullptr, 1447, 30,
         {"Panel4", 72, row(8), 129, 8}),
    edit(F::Edit27, "dc-identifier", M, D, "Edit27", "Identifier:", 30, nullptr, 1478, 30,
         {"Panel4", 72, row(9), 129, 8}),
    edit(F::Edit28, "dc-source", M, D, "Edit28", "Source:", 30, nullptr, 1509, 30,
         {"Panel5", 72, row(0), 129, 8}),
    edit(F::Edit29, "dc-language", M, D, "Edit29", "Language:", 5, nullptr, 1540, 5,
         {"Panel5", 72, row(1), 129, 8}, "", F::ComboBox5),
    edit(F::Edit30, "dc-relation", M, D, "Edit30", "Relation:", 30, nullptr, 1546, 30,
         {"Panel5", 72, row(2), 129, 8}),
    edit(F::Edit31, "dc-coverage", M, D, "Edit31", "Coverage:", 30, nullptr, 1577, 30,
         {"Panel5", 72, row(3), 129, 8}),
    edit(F::Edit32, "dc-rights", M, D, "Edit32", "Rights:", 30, nullptr, 1608, 30,
         {"Panel5", 72, row(4), 129, 8}),
}};

// The table is indexed by Field: a row out of place would shift every value.
constexpr bool catalogueInFieldOrder()
{
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (fieldIndex(catalogue[i].id) != i)
            return false;
    }
    return true;
}
static_assert(catalogueInFieldOrder());

constexpr bool sameKey(const char *a, const char *b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// The keys name the fields in the text form of project files: lower case, digits and
// hyphens, so that they need no quoting, and each names one field.
constexpr bool keysWellFormed()
{
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const char *key = catalogue[i].key;
        if (!*key)
            return false;
        for (const char *c = key; *c; ++c) {
            if (!((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9') || *c == '-'))
                return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (sameKey(catalogue[j].key, key))
                return false;
        }
    }
    return true;
}
static_assert(keysWellFormed());

constexpr const char *startUpNote[] = {
    "Afrikaans, Basque, Catalan, Danish, Dutch, English, ",
    "Faeroese, Finnish, French, Galician, German, Icelandic, ",
    "Irish, Italian, Norwegian, Portuguese, Spanish and Swedish.",
};

constexpr PageDef pages[] = {
    {Page::Basic, "TabSheet1", "Basic"},          {Page::Advanced, "TabSheet2", "Advanced"},
    {Page::ExtraTags, "TabSheet4", "Extra Tags"}, {Page::DcTags, "TabSheet5", "DC Tags"},
    {Page::HtmlCode, "TabSheet3", "HTML Code"},
};

} // namespace

std::span<const PageDef> pageCatalogue()
{
    return pages;
}

std::span<const FieldDef, FieldCount> fieldCatalogue()
{
    return catalogue;
}

const FieldDef &fieldDef(Field f)
{
    return catalogue[fieldIndex(f)];
}

const FieldDef *findField(Owner owner, QStringView control)
{
    for (const FieldDef &def : catalogue) {
        if (def.owner == owner && control == QLatin1StringView(def.control))
            return &def;
    }
    return nullptr;
}

const FieldDef *findFieldByKey(QStringView key)
{
    for (const FieldDef &def : catalogue) {
        if (key == QLatin1StringView(def.key))
            return &def;
    }
    return nullptr;
}

int longestText(const FieldDef &def)
{
    if (!def.quickInsertFrom)
        return def.limit;
    const FieldDef &source = fieldDef(*def.quickInsertFrom);
    int longest = std::max(def.limit, source.limit);
    for (const char *item : source.items)
        longest = std::max(longest, int(std::char_traits<char>::length(item)));
    return longest;
}

std::span<const CharacterSetDef> characterSetCatalogue()
{
    return characterSets;
}

std::span<const char *const> startUpCharacterSetNote()
{
    return startUpNote;
}

} // namespace quill
