#include "pages/head_lines.h"

#include "document/meta_generator.h"
#include "pages/page_head.h"

#include <QMap>

#include <algorithm>

namespace quill {
namespace {

// A field's stand-in while the generator's forms are read off its output: one
// private-use character per field, which no literal of the generator holds.
constexpr char16_t markerBase = 0xE000;

QChar marker(Field f)
{
    return QChar(char16_t(markerBase + int(fieldIndex(f))));
}

bool isMarker(QChar c)
{
    return c.unicode() >= markerBase && c.unicode() < markerBase + FieldCount;
}

Field markedField(QChar c)
{
    return Field(c.unicode() - markerBase);
}

QMap<QString, QString> valuesBySlot(const TagDocument &doc)
{
    QMap<QString, QString> out;
    for (const SlotLine &line : generatedHeadLines(doc))
        out.insert(line.slot, line.value);
    return out;
}

// Every edit holds its marker, so every line the generator writes only when a field is
// filled is written.
TagDocument probe()
{
    TagDocument doc = TagDocument::startUp();
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind == FieldKind::Edit)
            doc.setText(def.id, QString(marker(def.id)));
    }
    return doc;
}

// The value of each slot with every field in it replaced by its marker. A list's item
// is found where the value changes when the list has no item chosen.
QMap<QString, QString> markedForms(const TagDocument &doc)
{
    const QMap<QString, QString> values = valuesBySlot(doc);
    QMap<QString, QString> forms = values;
    struct Place {
        qsizetype at;
        qsizetype length;
        Field field;
    };
    QMap<QString, QList<Place>> places;
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind != FieldKind::List || doc.index(def.id) < 0)
            continue;
        TagDocument without = doc;
        without.setIndex(def.id, -1);
        const QMap<QString, QString> changed = valuesBySlot(without);
        const QString item = doc.value(def.id);
        for (auto it = values.begin(); it != values.end(); ++it) {
            const QString &full = it.value();
            const QString &less = changed.value(it.key());
            if (full == less)
                continue;
            for (qsizetype at = full.indexOf(item); at >= 0; at = full.indexOf(item, at + 1)) {
                if (full.left(at) + full.mid(at + item.size()) == less) {
                    places[it.key()] << Place{at, item.size(), def.id};
                    break;
                }
            }
        }
    }
    for (auto it = places.begin(); it != places.end(); ++it) {
        QList<Place> &list = it.value();
        std::sort(list.begin(), list.end(), [](auto &a, auto &b) { return a.at > b.at; });
        for (const Place &place : list)
            forms[it.key()].replace(place.at, place.length, marker(place.field));
    }
    return forms;
}

QString pattern(const QString &form, bool lenient)
{
    QString out = QStringLiteral("^");
    QString literal;
    const auto flush = [&] {
        if (lenient) {
            const QStringList words = literal.split(QLatin1Char(' '));
            QStringList escaped;
            for (const QString &word : words)
                escaped << QRegularExpression::escape(word);
            out += escaped.join(QStringLiteral("\\s*"));
        } else {
            out += QRegularExpression::escape(literal);
        }
        literal.clear();
    };
    for (const QChar c : form) {
        if (isMarker(c)) {
            flush();
            out += QStringLiteral("(.*?)");
        } else {
            literal += c;
        }
    }
    flush();
    return out + QLatin1Char('$');
}

SlotForm makeForm(const QString &slot, const QString &form, const QList<Field> &checked)
{
    SlotForm out;
    out.slot = slot;
    out.checked = checked;
    const auto options = QRegularExpression::DotMatchesEverythingOption;
    out.strict = QRegularExpression(pattern(form, false), options);
    out.lenient = QRegularExpression(pattern(form, true),
                                     options | QRegularExpression::CaseInsensitiveOption);
    for (const QChar c : form) {
        if (isMarker(c)) {
            out.fields << markedField(c);
            out.shape += QLatin1Char('{') + QLatin1StringView(fieldDef(markedField(c)).key) +
                         QLatin1Char('}');
        } else {
            out.shape += c;
        }
    }
    return out;
}

QList<SlotForm> deriveForms()
{
    const TagDocument base = probe();
    const QMap<QString, QString> forms = markedForms(base);
    QList<SlotForm> out;
    for (const QString &slot : managedSlots()) {
        out << makeForm(slot, forms.value(slot), {});
        // A check box that changes what the slot is filled from gives a second form.
        for (const FieldDef &def : fieldCatalogue()) {
            if (def.kind != FieldKind::Check)
                continue;
            TagDocument checked = base;
            checked.setChecked(def.id, !base.isChecked(def.id));
            const QString other = markedForms(checked).value(slot);
            if (other != forms.value(slot))
                out << makeForm(slot, other, {def.id});
        }
    }
    return out;
}

} // namespace

QList<SlotLine> generatedHeadLines(const TagDocument &doc)
{
    TagDocument page = doc;
    page.setMode(GenerationMode::FullPage);
    // A title that holds "</title>" would end there, and each run would find another.
    page.setText(Field::PageTitle, titleMarkup(doc.text(Field::PageTitle)));
    QList<SlotLine> out;
    for (const QString &line : generateMetaCode(page)) {
        const HeadItem item = readGeneratedLine(line.toUtf8());
        if (!item.slot.isEmpty())
            out << SlotLine{item.slot, line, QString::fromUtf8(item.value)};
    }
    return out;
}

const QStringList &managedSlots()
{
    static const QStringList all = [] {
        QStringList out;
        for (const SlotLine &line : generatedHeadLines(probe()))
            out << line.slot;
        return out;
    }();
    return all;
}

const QList<SlotForm> &slotForms()
{
    static const QList<SlotForm> forms = deriveForms();
    return forms;
}

} // namespace quill
