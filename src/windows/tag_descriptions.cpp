#include "windows/tag_descriptions.h"

#include "document/field_catalogue.h"

#include <array>

namespace quill {
namespace {

constexpr auto row = rowTop;

constexpr std::array<TagDescription, 21> descriptions = {{
    // Basic
    {"Button11", "Panel2", 440, row(0), "Enter a description of your site. Max 250 characters.",
     Field::Edit1},
    {"Button12", "Panel2", 440, row(1),
     "Enter keywords describing your website and seperate with commas. Max 200 characters.",
     Field::Edit2},
    {"Button4", "Panel2", 440, row(2),
     "Enter the name of the person who made the website, here. (i.e. your name)", Field::Edit3},
    {"Button5", "Panel2", 440, row(3),
     "Enter the name of the program in which you made your website.", Field::Edit4},
    {"Button6", "Panel2", 160, row(4),
     "This tag will request that the search engine/spider re-visit every x days to update the "
     "changes you've made to your site and keyword coding.",
     Field::Edit5},
    {"Button7", "Panel2", 408, row(5),
     "This tag will be more of a secondary title to the spiders indexing your site. Enter "
     "descriptive title here.",
     Field::Edit6},
    {"Button8", "Panel2", 408, row(6),
     "If your site is copyrighted, enter the years for which the copyright exists, and seperate a "
     "list of years with commas, eg. 2000, 2001, 2002",
     Field::Edit7},
    {"Button9", "Panel2", 203, row(7),
     "This tag tells the spider that your site is of interest to the whole world (global) or "
     "else.",
     Field::ComboBox1},
    {"Button10", "Panel2", 203, row(8),
     "You use this tag to suggest the rating your site falls under.", Field::ComboBox2},
    {"Button13", "Panel2", 203, row(9),
     "This tag is asking the spider to list ALL of your site in it's directory. Some engines list "
     "each and every page and some only list your entry or index page. But, if this tag is "
     "present, the spider will list the maximum it's been programmed to list.",
     Field::ComboBox3},
    // Advanced
    {"Button1", "GroupBox1", 248, 27,
     "The character set. The most commonly used character set is ISO-8859-1.", Field::ComboBox4},
    {"Button2", "Panel1", 160, 136,
     "Sets the language of your page. The most commonly used is EN (English).", Field::ComboBox5},
    {"Button3", "Panel1", 432, 168,
     "This tag instructs the browser to redirect you to another page in a certain number of "
     "seconds after the page has loaded.",
     Field::Edit8},
    {"Button14", "Panel1", 432, 200, "This tag sets the expiration date of your web document.",
     Field::ComboBox6},
    // Extra Tags
    {"Button15", "Panel3", 224, row(0),
     "By default, browsers cache your pages. (Saving web documents locally to recall faster in "
     "the future) Choose No-Cache to stop this.",
     Field::ComboBox9},
    {"Button16", "Panel3", 224, row(1),
     "This tag specifies the named window of the current page. _top can be used to stop your page "
     "from appearing in frames by \"breaking out\" of them.",
     Field::ComboBox10},
    {"Button17", "Panel3", 440, row(2),
     "Platform-Independant Content rating Scheme. This tag is usually used to rate the page in "
     "terms of adult content (sex, violence, etc.) Visit "
     "http://www.icra.org"
     " to have your site rated where you will then be given the relevant code to enter into this "
     "box.",
     Field::Edit16},
    {"Button20", "Panel3", 440, row(3),
     "This tag specifies the default scripting language in the document.", Field::ComboBox11},
    {"Button21", "Panel3", 440, row(4),
     "This tag specifies the default style sheet for a document.", Field::ComboBox12},
    {"Button22", "Panel3", 288, 128, "Places your site into a certain category.",
     Field::ComboBox13},
    // The comment group's button stands in the group, level with the comment field.
    {"Button18", "GroupBox2", 424, 24,
     "Some search engines take descriptions found in HTML comments as well.", Field::Edit17},
}};

} // namespace

std::span<const TagDescription> tagDescriptions()
{
    return descriptions;
}

} // namespace quill
