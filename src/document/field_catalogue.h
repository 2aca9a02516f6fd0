#pragma once

#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>
#include <span>

namespace quill {

// The window that holds a field: the main window or the Preferences dialog.
enum class Owner { Main, Preferences };

// Index of the main window page a field stands on; the Preferences texts have none.
enum class Page { Basic = 0, Advanced = 1, ExtraTags = 2, DcTags = 3, HtmlCode = 4, None = -1 };

enum class FieldKind { Edit, List, Check };

// A page of the main window: its control name and tab caption.
struct PageDef {
    Page page;
    const char *sheet;
    const char *caption;
};

// The pages in the order of their tabs, which is the order of Page.
std::span<const PageDef> pageCatalogue();

// The top of the n-th row of a field page: rows stand 24 pixels apart.
constexpr int rowTop(int n)
{
    return 8 + 24 * n;
}

// Every value of the tag document, in the order the project record stores them.
// The names are the control names of the windows; the three page-head texts are
// Edit1 to Edit3 of the Preferences dialog.
enum class Field : int {
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Edit5,
    Edit6,
    Edit7,
    ComboBox1,
    ComboBox2,
    ComboBox3,
    ComboBox4,
    ComboBox5,
    Edit8,
    Edit9,
    ComboBox6,
    ComboBox7,
    ComboBox8,
    Edit10,
    Edit11,
    Edit12,
    PageTitle,
    ExternalCss,
    FaviconUrl,
    ComboBox9,
    ComboBox10,
    Edit16,
    ComboBox11,
    CheckBox2,
    Edit33,
    ComboBox12,
    CheckBox3,
    Edit34,
    ComboBox13,
    Edit17,
    Edit18,
    Edit19,
    Edit21,
    Edit20,
    Edit22,
    Edit23,
    Edit24,
    Edit25,
    Edit26,
    Edit27,
    Edit28,
    Edit29,
    Edit30,
    Edit31,
    Edit32,
};
inline constexpr std::size_t FieldCount = static_cast<std::size_t>(Field::Edit32) + 1;

constexpr std::size_t fieldIndex(Field f)
{
    return static_cast<std::size_t>(f);
}

// Where the control stands: its parent container by object name and its
// rectangle within it (edits and lists are 21 high). labelLeft is the left edge of
// the row label, which stands two pixels lower than the field; -1 for no label.
struct FieldGeometry {
    const char *parent;
    int left;
    int top;
    int width;
    int labelLeft;
};

struct FieldDef {
    Field id;
    Owner owner;
    Page page;
    FieldKind kind;
    const char *control;   // object name of the control
    const char *key;       // name in the text form of project files
    const char *label;     // row label or check box caption; nullptr when none
    int limit;             // typing limit of an edit; 0 when none
    const char *hint;      // tooltip; nullptr when none
    const char *startText; // start-up text of an edit
    int startIndex;        // start-up item of a list; -1 otherwise
    std::span<const char *const> items;
    int offset;   // byte offset in the project record
    int capacity; // text capacity in the project record; 0 for lists and check boxes
    FieldGeometry geometry;
    // The field a QuickInsert button copies into this one, whole; none for most.
    std::optional<Field> quickInsertFrom;
};

// The one table of every field; indexed by Field.
std::span<const FieldDef, FieldCount> fieldCatalogue();
const FieldDef &fieldDef(Field f);

// The longest text the window gives an edit: its typing limit, or the longer text that
// QuickInsert copies into it from another field.
int longestText(const FieldDef &def);

// Looks a field up by its window and control name; nullptr when there is none.
const FieldDef *findField(Owner owner, QStringView control);
// Looks a field up by its key in the text form; nullptr when there is none.
const FieldDef *findFieldByKey(QStringView key);

// An item of the character-set list (ComboBox4).
struct CharacterSetDef {
    const char *item;     // the label the list shows and the generated code declares
    const char *encoding; // the encoding browsers read that label as, by its ICU name
    const char *note;     // the note on the Advanced page
};

// The character-set list's items in their stored order; ComboBox4's items are their labels.
std::span<const CharacterSetDef> characterSetCatalogue();
// The note at start-up: the note of the first set broken into three lines.
std::span<const char *const> startUpCharacterSetNote();

} // namespace quill
