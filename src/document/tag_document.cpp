#include "document/tag_document.h"

namespace quill {

TagDocument TagDocument::startUp()
{
    TagDocument doc;
    for (const FieldDef &def : fieldCatalogue()) {
        Value &v = doc.m_values[fieldIndex(def.id)];
        v.text = QString::fromLatin1(def.startText);
        v.index = def.startIndex;
    }
    return doc;
}

QString TagDocument::text(Field f) const
{
    return m_values[fieldIndex(f)].text;
}

void TagDocument::setText(Field f, const QString &text)
{
    m_values[fieldIndex(f)].text = text;
}

int TagDocument::index(Field f) const
{
    return m_values[fieldIndex(f)].index;
}

void TagDocument::setIndex(Field f, int index)
{
    m_values[fieldIndex(f)].index = index;
}

bool TagDocument::isChecked(Field f) const
{
    return m_values[fieldIndex(f)].checked;
}

void TagDocument::setChecked(Field f, bool checked)
{
    m_values[fieldIndex(f)].checked = checked;
}

QString TagDocument::value(Field f) const
{
    const FieldDef &def = fieldDef(f);
    switch (def.kind) {
    case FieldKind::Edit:
        return text(f);
    case FieldKind::List:
        return listItemText(def, index(f));
    case FieldKind::Check:
        break;
    }
    return {};
}

QString listItemText(const FieldDef &def, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= def.items.size())
        return {};
    return QString::fromLatin1(def.items[static_cast<std::size_t>(index)]);
}

} // namespace quill
