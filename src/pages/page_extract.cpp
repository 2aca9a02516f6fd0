#include "pages/page_extract.h"

#include "pages/head_lines.h"
#include "pages/page_charset.h"
#include "pages/page_head.h"

#include <QMap>

namespace quill {
namespace {

const QString contentTypeSlot = QStringLiteral("http-equiv=content-type");
const QString contentLanguageSlot = QStringLiteral("http-equiv=content-language");

QString keyOf(Field f)
{
    return QLatin1StringView(fieldDef(f).key);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// What a field keeps when a value cannot go in: its start-up value.
QString startUpShown(Field f)
{
    const TagDocument start = TagDocument::startUp();
    return quoted(start.value(f));
}

// A form's captures, when every list among them names one of its items.
bool fits(const SlotForm &form, const QRegularExpressionMatch &match, QList<int> *items)
{
    items->clear();
    for (qsizetype i = 0; i < form.fields.size(); ++i) {
        const FieldDef &def = fieldDef(form.fields[i]);
        int index = -1;
        // An empty value is what the generator writes for a list with no item chosen.
        const QString text = match.captured(int(i) + 1);
        if (def.kind == FieldKind::List && !text.isEmpty()) {
            index = listItemIndex(def, text);
            if (index < 0)
                return false;
        }
        *items << index;
    }
    return true;
}

class Reader
{
public:
    Reader(TagDocument *doc, QStringList *notes)
        : m_doc(doc)
        , m_notes(notes)
    {}

    void note(int line, const QString &text)
    {
        *m_notes << QStringLiteral("%1: %2").arg(line).arg(text);
    }

    // Texts are kept whole, as far as the window lets the field's text be.
    void setText(Field f, const QString &text, int line)
    {
        const FieldDef &def = fieldDef(f);
        const qsizetype limit = longestText(def);
        QString kept = text;
        if (kept.size() > limit) {
            kept.truncate(limit - (kept[limit - 1].isHighSurrogate() ? 1 : 0));
            note(line, QStringLiteral("%1: %2 characters, more than the %3 the field takes; kept "
                                      "the first %4")
                           .arg(keyOf(f))
                           .arg(text.size())
                           .arg(limit)
                           .arg(kept.size()));
        }
        m_doc->setText(f, kept);
    }

    // Fills the fields of one slot from the value the page gives it.
    void read(const QString &slot, const QString &value, int line)
    {
        const SlotForm *shaped = nullptr;
        for (const SlotForm &form : slotForms()) {
            if (form.slot != slot)
                continue;
            for (const QRegularExpression *re : {&form.strict, &form.lenient}) {
                const QRegularExpressionMatch match = re->match(value);
                if (!match.hasMatch())
                    continue;
                QList<int> items;
                if (fits(form, match, &items)) {
                    take(form, match, items, line);
                    return;
                }
                if (!shaped)
                    shaped = &form;
            }
        }
        if (shaped) {
            // The shape is right, but a list does not hold what it names.
            const QRegularExpressionMatch match = shaped->lenient.match(value);
            for (qsizetype i = 0; i < shaped->fields.size(); ++i) {
                const FieldDef &def = fieldDef(shaped->fields[i]);
                const QString text = match.captured(int(i) + 1);
                if (def.kind == FieldKind::List && listItemIndex(def, text) < 0) {
                    note(line, QStringLiteral("%1: %2 is not one of the list's items; kept %3")
                                   .arg(keyOf(def.id), quoted(text), startUpShown(def.id)));
                } else if (def.kind == FieldKind::List) {
                    m_doc->setIndex(def.id, listItemIndex(def, text));
                } else {
                    setText(def.id, text, line);
                }
            }
            return;
        }
        for (const SlotForm &form : slotForms()) {
            if (form.slot == slot) {
                QStringList kept;
                for (const Field f : form.fields)
                    kept << keyOf(f) + QStringLiteral(" ") + startUpShown(f);
                note(line, QStringLiteral("%1 %2 is not of the form \"%3\"; kept %4")
                               .arg(slotLabel(slot), quoted(value), form.shape,
                                    kept.join(QStringLiteral(", "))));
                return;
            }
        }
    }

private:
    void take(const SlotForm &form, const QRegularExpressionMatch &match, const QList<int> &items,
              int line)
    {
        for (const Field f : form.checked)
            m_doc->setChecked(f, true);
        for (qsizetype i = 0; i < form.fields.size(); ++i) {
            const Field f = form.fields[i];
            if (fieldDef(f).kind == FieldKind::List)
                m_doc->setIndex(f, items[i]);
            else
                setText(f, match.captured(int(i) + 1), line);
        }
    }

    TagDocument *m_doc;
    QStringList *m_notes;
};

} // namespace

int listItemIndex(const FieldDef &def, const QString &text)
{
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < def.items.size(); ++i) {
            const QString item = QLatin1StringView(def.items[i]);
            if (item.compare(text, pass ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0)
                return int(i);
        }
    }
    if (def.id == Field::ComboBox4) {
        const PageCharset named = PageCharset::forLabel(text.toLatin1());
        for (std::size_t i = 0; named.isValid() && i < def.items.size(); ++i) {
            if (PageCharset::forLabel(def.items[i]).sameAs(named))
                return int(i);
        }
    }
    return -1;
}

bool extractPage(QByteArrayView page, TagDocument *doc, QStringList *notes, QString *error)
{
    return extractPage(page, readPageHead(page), doc, notes, error);
}

bool extractPage(QByteArrayView page, const PageHead &head, TagDocument *doc, QStringList *notes,
                 QString *error)
{
    if (hasUtf16Bom(page)) {
        *error = QStringLiteral("UTF-16 pages cannot be read");
        return false;
    }
    if (!head.isHtml || !head.error.isEmpty()) {
        *error = head.isHtml ? head.error : QStringLiteral("Not an HTML page");
        return false;
    }
    PageEncoding encoding;
    if (!pageEncoding(page, head, &encoding, error))
        return false;
    const PageCharset &charset = encoding.charset;
    *doc = TagDocument::startUp();
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind == FieldKind::Edit)
            doc->setText(def.id, QString());
    }
    notes->clear();
    Reader reader(doc, notes);

    QMap<QString, const HeadItem *> first;
    for (const HeadItem &item : head.items) {
        // The character set is the page's, however it is declared: see below.
        if (!managedSlots().contains(item.slot) || item.slot == contentTypeSlot)
            continue;
        const QString value = charset.decode(item.value);
        if (const HeadItem *earlier = first.value(item.slot)) {
            if (charset.decode(earlier->value) != value)
                reader.note(item.line, QStringLiteral("a second %1 with another value; kept the "
                                                      "one of line %2")
                                           .arg(slotLabel(item.slot))
                                           .arg(earlier->line));
            continue;
        }
        first.insert(item.slot, &item);
        reader.read(item.slot, value, item.line);
    }
    // The set the page is read in: the one it declares, or UTF-8 when its bytes are that
    // (with a byte-order mark or without). Plain ASCII is read alike in every set.
    const FieldDef &set = fieldDef(Field::ComboBox4);
    if (encoding.source != PageEncoding::Source::PlainAscii) {
        const bool declared = encoding.source == PageEncoding::Source::Declaration;
        const QString label =
            declared ? QString::fromLatin1(encoding.declaration.label) : encoding.charset.name();
        // A label the list lacks may name a set it has, or one browsers read as such.
        int index = listItemIndex(set, label);
        if (index < 0)
            index = listItemIndex(set, encoding.charset.name());
        if (index >= 0)
            doc->setIndex(set.id, index);
        else
            reader.note(
                encoding.declaration.line,
                QStringLiteral("%1: %2 is not one of the list's items; kept %3")
                    .arg(QLatin1StringView(set.key), quoted(label), quoted(doc->value(set.id))));
    }
    // <html lang> names the language when no content-language does.
    const FieldDef &language = fieldDef(Field::ComboBox5);
    if (!first.contains(contentLanguageSlot) && !head.lang.slot.isEmpty()) {
        const QString lang = itemText(page, head.lang, charset);
        const int index = listItemIndex(language, lang);
        if (index >= 0)
            doc->setIndex(language.id, index);
        else
            reader.note(head.lang.line,
                        QStringLiteral("<html lang> %1 is not one of the language list's items; "
                                       "kept %2")
                            .arg(quoted(lang), quoted(doc->value(language.id))));
    }
    return true;
}

} // namespace quill
