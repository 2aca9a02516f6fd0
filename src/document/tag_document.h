#pragma once

#include "document/field_catalogue.h"

#include <QString>

#include <array>

namespace quill {

enum class GenerationMode { MetaOnly, FullPage };

// The tag document as a value: what the controls of the two windows hold.
// Each field keeps the part that matters for its kind: the text of an edit, the
// item index of a list (-1 for none), the state of a check box.
class TagDocument
{
public:
    // Every field at its start-up value; full-page mode.
    static TagDocument startUp();

    QString text(Field f) const;
    void setText(Field f, const QString &text);

    int index(Field f) const;
    void setIndex(Field f, int index);

    bool isChecked(Field f) const;
    void setChecked(Field f, bool checked);

    // What the generator writes: the text of an edit, or the text of a list's chosen
    // item (empty when the index lies outside the list).
    QString value(Field f) const;

    GenerationMode mode() const { return m_mode; }
    void setMode(GenerationMode mode) { m_mode = mode; }

    friend bool operator==(const TagDocument &, const TagDocument &) = default;

private:
    struct Value {
        QString text;
        int index = -1;
        bool checked = false;
        friend bool operator==(const Value &, const Value &) = default;
    };

    std::array<Value, FieldCount> m_values{};
    GenerationMode m_mode = GenerationMode::FullPage;
};

// The text of item `index` of a list, or empty when there is no such item.
QString listItemText(const FieldDef &def, int index);

} // namespace quill
