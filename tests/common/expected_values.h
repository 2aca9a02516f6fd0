#pragma once

// The program's values written out once, independently of the tables the program
// builds from: a wrong catalogue row or caption shows up as a difference. Each fact
// here is checked against the program in one test; every other test reads the
// program's own tables.
//   fields        tst_document (catalogueMatchesExpectedValues)
//   notes         tst_main_window_layout (start-up), tst_main_window_editing (by choice)
//   menus         tst_main_window_menus (tst_pictures takes the item names from here)
//   descriptions  tst_main_window_commands

#include <QString>
#include <QStringList>

namespace expected {

enum class Kind { Edit, List, Check };

// A field of the main window ("Form1") or of the Preferences dialog ("Form2").
struct Field {
    const char *window;
    const char *control;
    Kind kind;
    const char *parent; // container by object name; nullptr: its place belongs to the dialog
    int left;
    int top;
    int width;
    const char *label; // row label, or a check box's caption; "" for none
    int labelLeft;     // -1: no row label
    int limit;         // typing limit of an edit; 0 otherwise
    const char *hint;  // "" for none
    const char *text;  // start-up text of an edit
    const char *items; // a list's items, separated by "|"
    int index;         // a list's start-up item; -1 otherwise
};

constexpr Field edit(const char *control, const char *parent, int left, int top, int width,
                     int limit, const char *hint, const char *label, int labelLeft = 8,
                     const char *text = "")
{
    return {"Form1", control,   Kind::Edit, parent, left, top,     width,
            label,   labelLeft, limit,      hint,   text, nullptr, -1};
}

constexpr Field list(const char *control, const char *parent, int left, int top, int width,
                     const char *items, int index, const char *label, int labelLeft = 8)
{
    return {"Form1", control,   Kind::List, parent, left, top,   width,
            label,   labelLeft, 0,          "",     "",   items, index};
}

constexpr Field check(const char *control, int top)
{
    return {"Form1", control, Kind::Check, "Panel3", 232, top,     49,
            "Other", -1,      0,           "",       "",  nullptr, -1};
}

// The page-head texts of the Preferences dialog, placed by the dialog.
constexpr Field head(const char *control, const char *label)
{
    return {"Form2", control, Kind::Edit, nullptr, 0, 0, 0, label, 0, 50, "", "", nullptr, -1};
}

// The Dublin Core rows: no hints, the rows 24 apart from the top of their panel.
constexpr Field dc(const char *control, const char *panel, int row, const char *label,
                   int limit = 30, const char *text = "")
{
    return edit(control, panel, 72, 8 + 24 * row, 129, limit, "", label, 8, text);
}

inline constexpr Field fields[] = {
    // Basic
    edit("Edit1", "Panel2", 96, 8, 305, 250,
         "Enter a description of your site (max 250 characters)", "Description:"),
    edit("Edit2", "Panel2", 96, 32, 305, 200,
         "Enter keywords that describe your site. Seperate keywords with commas. Max 200 "
         "characters.",
         "Keywords:"),
    edit("Edit3", "Panel2", 96, 56, 337, 75, "Enter the persons name who made the website here.",
         "Author:"),
    edit("Edit4", "Panel2", 96, 80, 337, 75,
         "Enter the name of the program in which you made your website.", "Generator:"),
    edit("Edit5", "Panel2", 96, 104, 25, 2,
         "Enter the number of days which must go by before the search engine comes back to "
         "re-evaluate your sites' contents.",
         "Revisit after:"),
    edit("Edit6", "Panel2", 96, 128, 305, 75, "Enter the title of your web page here.", "Title:"),
    edit("Edit7", "Panel2", 96, 152, 305, 75,
         "Enter the years in which your website is copyrighted", "Copyright:"),
    list("ComboBox1", "Panel2", 96, 176, 97, "Global|Regional|Limited", 0, "Distribution:"),
    list("ComboBox2", "Panel2", 96, 200, 97, "General|Adult|Children|Restricted|13 Years", 0,
         "Rating:"),
    list("ComboBox3", "Panel2", 96, 224, 97, "Follow|NoIndex|Index|All|Nofollow|None", 3,
         "Robots:"),

    // Advanced
    list("ComboBox4", "GroupBox1", 152, 27, 89,
         "ISO-8859-1|ISO-8859-2|ISO-8859-3|ISO-8859-4|ISO-8859-5|ISO-8859-6|ISO-8859-7|"
         "ISO-8859-8|ISO-8859-9|UTF-8",
         0, "Choose a Character Set: "),
    list("ComboBox5", "Panel1", 96, 136, 57,
         "af|ar|be|bg|ca|cs|da|de|el|en|en-au|en-ca|en-nz|en-us|es|et|eu|fa|fi|fo|fr|gd|he|hi|"
         "hr|hu|in|is|it|ja|ji|ko|lt|lv|mk|ms|mt|nl|no|pl|pt|rm|ro|ru|sb|sk|sl|sg|sr|sv|sx|sz|th|"
         "tn|tr|ts|uk|ur|ve|vi|xh|zh|zu",
         9, "Language:"),
    edit("Edit8", "Panel1", 160, 168, 137, 75, "Enter page to which the user must be redirected.",
         "Refresh:"),
    edit("Edit9", "Panel1", 320, 168, 33, 3,
         "After how many seconds should the user be redirected?", "in ", 304),
    list("ComboBox6", "Panel1", 96, 200, 49, "Sun|Mon|Tue|Wed|Thu|Fri|Sat", 0, "Expires:"),
    list("ComboBox7", "Panel1", 152, 200, 41,
         "01|02|03|04|05|06|07|08|09|10|11|12|13|14|15|16|17|18|19|20|21|22|23|24|25|26|27|28|"
         "29|30|31",
         0, "", -1),
    list("ComboBox8", "Panel1", 200, 200, 49, "Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec", 0,
         "", -1),
    edit("Edit10", "Panel1", 288, 200, 33, 4, "Enter year.", "Year:", 256),
    edit("Edit11", "Panel1", 360, 200, 25, 2, "Hours", "Time:", 328),
    edit("Edit12", "Panel1", 400, 200, 25, 2, "Minutes", ":", 392),

    // Extra Tags
    list("ComboBox9", "Panel3", 96, 8, 121, "Cache|No-Cache", 0, "Pragma:"),
    list("ComboBox10", "Panel3", 96, 32, 121, "_blank|_parent|_self|_top", 3, "Window Target:"),
    edit("Edit16", "Panel3", 96, 56, 337, 250, "Enter PICS label tag text", "PICS Label:"),
    list("ComboBox11", "Panel3", 120, 80, 97,
         "text/javascript|text/jscript|text/vbscript|text/php|text/tcl", 0,
         "Content Script Type: "),
    check("CheckBox2", 80),
    edit("Edit33", "Panel3", 304, 80, 129, 30, "Insert other scripting language type", "", -1),
    list("ComboBox12", "Panel3", 120, 104, 97, "text/css", 0, "Content Style Type:"),
    check("CheckBox3", 104),
    edit("Edit34", "Panel3", 304, 104, 129, 30, "Enter other style type", "", -1),
    list("ComboBox13", "Panel3", 96, 128, 185,
         "Adults|Advertising|Agriculture|Antiques|Art|Arts and Crafts|Arts and Humanities|"
         "Automotive|Avaition|Bar|Business Banking|Business Supplies|Business and Economy|"
         "Business and Finance|Career Services|Catalogs|Children|Christmas|Commercial|"
         "Communications|Computers and Internet|Computers Multimedia|Computers|Construction|"
         "Consumer|Consumer Children|Consumer Electronics|Design|Drinks|Education|Entertainment|"
         "Family|Family Services|Flags|Flowers|Food and Beverage|General Hardware|"
         "General Software|Gift baskets|Gifts|Government|Hardware|Health|Health and Fitness|"
         "Hobbies|Home and Family|Human Resources|Index Site|Internet Services|Math|Media|"
         "Medical|Medical Equipment|Miscellaneous|Museums|News and Media|Personal|Photograph|"
         "Pictures|Program|Programming|Property and Building|Recreation|Science|"
         "Science and Technology|Security Services|Shopping and Services|Social Science|"
         "Society and Culture|Software|Sports|Sports and Recreation|Tourism|Travel|"
         "Travel Agents|Web Hosting|Web Programming|Web Site Promotion",
         0, "Classification:"),
    edit("Edit17", "GroupBox2", 8, 24, 409, 50,
         "Insert comments (description) or press the QuickInsert button", "", -1),

    // DC Tags
    dc("Edit18", "Panel4", 0, "Title:"),
    dc("Edit19", "Panel4", 1, "Creator:"),
    dc("Edit21", "Panel4", 2, "Subject:"),
    dc("Edit20", "Panel4", 3, "Description:"),
    dc("Edit22", "Panel4", 4, "Publisher:"),
    dc("Edit23", "Panel4", 5, "Contributor:"),
    dc("Edit24", "Panel4", 6, "Date:", 10, "YYYY-MM-DD"),
    dc("Edit25", "Panel4", 7, "Type:"),
    dc("Edit26", "Panel4", 8, "Format"),
    dc("Edit27", "Panel4", 9, "Identifier:"),
    dc("Edit28", "Panel5", 0, "Source:"),
    dc("Edit29", "Panel5", 1, "Language:", 5),
    dc("Edit30", "Panel5", 2, "Relation:"),
    dc("Edit31", "Panel5", 3, "Coverage:"),
    dc("Edit32", "Panel5", 4, "Rights:"),

    // Preferences
    head("Edit1", "Page Title: "),
    head("Edit2", "External CSS:"),
    head("Edit3", "Favicon URL:"),
};

inline QStringList items(const Field &field)
{
    return field.items ? QString::fromUtf8(field.items).split(QLatin1Char('|')) : QStringList();
}

// The note on the Advanced page for each character set, by item; at start-up the
// first one stands broken into three lines.
inline constexpr const char *characterSetNotes[] = {
    "Afrikaans, Basque, Catalan, Danish, Dutch, English, Faeroese, Finnish, French, Galician, "
    "German, Icelandic, Irish, Italian, Norwegian, Portuguese, Spanish and Swedish.",
    "Latin-written Slavic and Central European languages.",
    "Esperanto, Galician, Maltese, and Turkish.",
    "Scandinavia/Baltic.",
    "Cyrillic.",
    "Arabic.",
    "Modern Greek.",
    "Hebrew.",
    "Afrikaans, Basque, Catalan, Danish, Dutch, English, Faeroese, Finnish, French, Galician, "
    "German, Turkish, Irish, Italian, Norwegian, Portuguese, Spanish and Swedish.",
    "All languages: the character set of nearly every page on the web today.",
};
inline constexpr const char *startUpNote[] = {
    "Afrikaans, Basque, Catalan, Danish, Dutch, English, ",
    "Faeroese, Finnish, French, Galician, German, Icelandic, ",
    "Irish, Italian, Norwegian, Portuguese, Spanish and Swedish.",
};

// The menu bar, item by item in order. A row whose caption names a menu of the
// rows below it is a submenu header; N1, N2 ... are separators. Every other item
// shows a picture.
struct MenuItem {
    const char *menu; // captions from the menu bar down, "&Help/On The Web"
    const char *name;
    const char *caption;       // nullptr for a separator
    const char *shortcut = ""; // portable text
};

inline constexpr MenuItem menuItems[] = {
    {"&File", "New1", "&New", "Ctrl+N"},
    {"&File", "Open1", "Open", "Ctrl+O"},
    {"&File", "save2", "Save", "Ctrl+S"},
    {"&File", "N1", nullptr},
    {"&File", "Import1", "Import...", "Ctrl+Alt+I"},
    {"&File", "Export1", "Export"},
    {"&File/Export", "AsHTML1", "As HTML", "Ctrl+H"},
    {"&File/Export", "AsText1", "As Text", "Ctrl+T"},
    {"&File", "N2", nullptr},
    {"&File", "Preferences1", "Preferences", "Ctrl+E"},
    {"&File", "N4", nullptr},
    {"&File", "Print1", "Print Code", "Ctrl+P"},
    {"&File", "N3", nullptr},
    {"&File", "Exit1", "E&xit", "Ctrl+Alt+X"},
    {"Code", "cool1", "Generate Meta Code", "F2"},
    {"Code", "ClearAllFields1", "Reset All Fields", "Ctrl+R"},
    {"Code", "CopyToClipboard1", "Copy To Clipboard", "F3"},
    {"View", "Beginner1", "Basic", "F5"},
    {"View", "Advanced1", "Advanced", "F6"},
    {"View", "ExtraTags1", "Extra Tags", "F7"},
    {"View", "DCTags1", "DC Tags", "F8"},
    {"View", "HTMLTags1", "HTML Tags", "F9"},
    {"Tools", "AddSitetoGoogle1", "Add Site To Google", "F10"},
    {"Tools", "CheckSiteRankings1", "Check Site Rankings", "F11"},
    {"Tools", "N7", nullptr},
    {"Tools", "HTMLJS1", "HTML > JS Converter", "F12"},
    {"&Help", "Help2", "Help", "F1"},
    {"&Help", "Readme1", "Readme", "Ctrl+D"},
    {"&Help", "BeginnerWizard1", "Beginner Wizard", "Ctrl+Alt+B"},
    {"&Help", "N11", nullptr},
    {"&Help", "SitePromotion1", "Site Promotion", "Ctrl+I"},
    {"&Help", "N5", nullptr},
    {"&Help", "OnTheWeb1", "On The Web"},
    {"&Help/On The Web", "Website1", "Website"},
    {"&Help/On The Web", "CheckforUpdate1", "Check For Update"},
    {"&Help/On The Web", "Support1", "Support (E-mail)"},
    {"&Help/On The Web", "SupportForum1", "Support Forum"},
    {"&Help", "N6", nullptr},
    {"&Help", "About1", "&About...", "Ctrl+Alt+A"},
};

// A submenu header: the rows of its menu follow.
inline bool isSubmenu(const MenuItem &item)
{
    if (!item.caption)
        return false;
    const QString path =
        QString::fromLatin1(item.menu) + QLatin1Char('/') + QString::fromLatin1(item.caption);
    for (const MenuItem &other : menuItems) {
        if (path == QLatin1StringView(other.menu))
            return true;
    }
    return false;
}

// The context menu, in order. `action` names the command it runs: a command of the
// menu bar, or an edit action of its own with its short and long hint.
struct ContextItem {
    const char *name; // the item's own name, which also names its picture
    const char *action = "";
    const char *caption = nullptr; // nullptr for a separator
    const char *shortcut = "";
    const char *hint = ""; // "short|long"
    bool picture = false;
};

inline constexpr ContextItem contextItems[] = {
    {"GenerateMetaCode1", "cool1", "Generate Meta Code", "F2", "", true},
    {"CopyCodetoClipboard1", "CopyCodetoClipboard1", "Copy Code to Clipboard", "F3", "", true},
    {"Save1", "save2", "Save", "Ctrl+S", "", true},
    {"N8"},
    {"Undo1", "EditUndo1", "&Undo", "Ctrl+Z", "Undo|Reverts the last action", true},
    {"N9"},
    {"Cut1", "EditCut1", "Cu&t", "Ctrl+X", "Cut|Cuts the selection and puts it on the Clipboard",
     true},
    {"Copy1", "EditCopy1", "&Copy", "Ctrl+C",
     "Copy|Copies the selection and puts it on the Clipboard", true},
    {"Paste1", "EditPaste1", "&Paste", "Ctrl+V", "Paste|Inserts Clipboard contents", true},
    {"Delete1", "EditDelete1", "&Delete", "Del", "Delete|Erases the selection", true},
    {"N10"},
    {"SelectAll1", "EditSelectAll1", "Select &All", "Ctrl+A",
     "Select All|Selects the entire document", false},
};

// The "?" buttons: where they stand (measured in `container`) and what they explain.
// A non-empty tail means the text is head, a web address, tail.
struct Description {
    const char *button;
    const char *container;
    int left;
    int top;
    const char *text;
    const char *tail = "";
};

inline constexpr Description descriptions[] = {
    {"Button11", "Panel2", 440, 8, "Enter a description of your site. Max 250 characters."},
    {"Button12", "Panel2", 440, 32,
     "Enter keywords describing your website and seperate with commas. Max 200 characters."},
    {"Button4", "Panel2", 440, 56,
     "Enter the name of the person who made the website, here. (i.e. your name)"},
    {"Button5", "Panel2", 440, 80, "Enter the name of the program in which you made your website."},
    {"Button6", "Panel2", 160, 104,
     "This tag will request that the search engine/spider re-visit every x days to update the "
     "changes you've made to your site and keyword coding."},
    {"Button7", "Panel2", 408, 128,
     "This tag will be more of a secondary title to the spiders indexing your site. Enter "
     "descriptive title here."},
    {"Button8", "Panel2", 408, 152,
     "If your site is copyrighted, enter the years for which the copyright exists, and seperate "
     "a list of years with commas, eg. 2000, 2001, 2002"},
    {"Button9", "Panel2", 203, 176,
     "This tag tells the spider that your site is of interest to the whole world (global) or "
     "else."},
    {"Button10", "Panel2", 203, 200,
     "You use this tag to suggest the rating your site falls under."},
    {"Button13", "Panel2", 203, 224,
     "This tag is asking the spider to list ALL of your site in it's directory. Some engines "
     "list each and every page and some only list your entry or index page. But, if this tag "
     "is present, the spider will list the maximum it's been programmed to list."},
    {"Button1", "GroupBox1", 248, 27,
     "The character set. The most commonly used character set is ISO-8859-1."},
    {"Button2", "Panel1", 160, 136,
     "Sets the language of your page. The most commonly used is EN (English)."},
    {"Button3", "Panel1", 432, 168,
     "This tag instructs the browser to redirect you to another page in a certain number of "
     "seconds after the page has loaded."},
    {"Button14", "Panel1", 432, 200, "This tag sets the expiration date of your web document."},
    {"Button15", "Panel3", 224, 8,
     "By default, browsers cache your pages. (Saving web documents locally to recall faster in "
     "the future) Choose No-Cache to stop this."},
    {"Button16", "Panel3", 224, 32,
     "This tag specifies the named window of the current page. _top can be used to stop your "
     "page from appearing in frames by \"breaking out\" of them."},
    {"Button17", "Panel3", 440, 56,
     "Platform-Independant Content rating Scheme. This tag is usually used to rate the page in "
     "terms of adult content (sex, violence, etc.) Visit ",
     " to have your site rated where you will then be given the relevant code to enter into "
     "this box."},
    {"Button20", "Panel3", 440, 80,
     "This tag specifies the default scripting language in the document."},
    {"Button21", "Panel3", 440, 104, "This tag specifies the default style sheet for a document."},
    {"Button22", "Panel3", 288, 128, "Places your site into a certain category."},
    {"Button18", "Panel3", 432, 184,
     "Some search engines take descriptions found in HTML comments as well."},
};

} // namespace expected
