#include "pages/page_apply.h"

#include "pages/head_lines.h"
#include "pages/page_charset.h"
#include "pages/page_extract.h"
#include "pages/page_head.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace quill {
namespace {

const QString contentTypeSlot = QStringLiteral("http-equiv=content-type");
const QString contentLanguageSlot = QStringLiteral("http-equiv=content-language");

} // namespace

struct HeadWriter::Setting {
    PageCharset charset;  // what the values are written in
    bool keepDeclaration; // the page's declaration of its set is left alone
    // The page is in the project's set without declaring it: a Content-Type it lacks is
    // not added (one it has that names no set is the project's to write).
    bool undeclared = false;
};

// With `ascii`, the page is taken for the plain ASCII it becomes once changed.
bool HeadWriter::chooseCharset(const PageEncoding &own, bool ascii, Setting *setting,
                               QString *error) const
{
    using Source = PageEncoding::Source;
    const QString projectLabel = m_project.value(Field::ComboBox4);
    const PageCharset wanted = PageCharset::forLabel(projectLabel.toLatin1());
    // Plain ASCII reads the same in every set: it takes the project's, and when the
    // project names none, stays in the one it is read in.
    if (own.source == Source::PlainAscii || ascii) {
        *setting = {wanted.isValid() ? wanted : own.charset, false};
        return true;
    }
    // The page is in the project's set already: however it says so, it says the same.
    if (wanted.isValid() && own.charset.sameAs(wanted)) {
        const bool undeclared = own.source == Source::Content;
        *setting = {wanted, !undeclared, undeclared};
        return true;
    }
    // Neither the page nor the project names a set: the page keeps the one it is in.
    if (!wanted.isValid() && own.source == Source::Content) {
        *setting = {own.charset, true};
        return true;
    }
    if (m_options.keepCharset) {
        *setting = {own.charset, true};
        return true;
    }
    const QString named = wanted.isValid() ? QStringLiteral("has %1").arg(projectLabel)
                                           : QStringLiteral("names no character set");
    *error = QStringLiteral("The page %1, the project %2; --keep-charset keeps the page's")
                 .arg(own.reason, named);
    return false;
}

namespace {

// The form the project's line of `slot` is made by: the one whose check boxes it has
// checked (the forms that need one follow the plain one).
const SlotForm *formOf(const QString &slot, const TagDocument &doc)
{
    const SlotForm *found = nullptr;
    for (const SlotForm &form : slotForms()) {
        if (form.slot == slot && std::all_of(form.checked.begin(), form.checked.end(),
                                             [&doc](Field f) { return doc.isChecked(f); }))
            found = &form;
    }
    return found;
}

// Whether the page's value holds what the project's fields do, read back through the
// line's form as extract reads it: a list's item in any case, blanks where the form
// leaves them optional.
bool holdsTheSame(const QString &value, const SlotForm &form, const TagDocument &project)
{
    QRegularExpressionMatch match = form.strict.match(value);
    if (!match.hasMatch())
        match = form.lenient.match(value);
    if (!match.hasMatch())
        return false;
    for (qsizetype i = 0; i < form.fields.size(); ++i) {
        const FieldDef &def = fieldDef(form.fields[i]);
        const QString text = match.captured(int(i) + 1);
        if (def.kind == FieldKind::List ? listItemIndex(def, text) != project.index(def.id)
                                        : text != project.text(def.id))
            return false;
    }
    return true;
}

bool atStartUp(const TagDocument &doc, Field f)
{
    static const TagDocument start = TagDocument::startUp();
    switch (fieldDef(f).kind) {
    case FieldKind::Edit:
        return doc.text(f) == start.text(f);
    case FieldKind::List:
        return doc.index(f) == start.index(f);
    case FieldKind::Check:
        return doc.isChecked(f) == start.isChecked(f);
    }
    return false;
}

} // namespace

bool planApply(QByteArrayView page, const TagDocument &project, const ApplyOptions &options,
               QList<PageEdit> *edits, QStringList *notes, QString *error)
{
    return HeadWriter(project, options).plan(page, edits, notes, error);
}

HeadWriter::HeadWriter(const TagDocument &project, const ApplyOptions &options)
    : m_project(project)
    , m_options(options)
    , m_lines(generatedHeadLines(project))
    , m_charset(PageCharset::forLabel(project.value(Field::ComboBox4).toLatin1()))
{
    for (const SlotLine &line : std::as_const(m_lines)) {
        LineRule rule;
        if (const SlotForm *form = formOf(line.slot, project)) {
            rule.form = form;
            const auto fields = form->fields + form->checked;
            rule.startUp = std::all_of(fields.begin(), fields.end(),
                                       [&project](Field f) { return atStartUp(project, f); });
            rule.noItem = std::any_of(form->fields.begin(), form->fields.end(), [&](Field f) {
                return fieldDef(f).kind == FieldKind::List && project.index(f) < 0;
            });
            const FieldDef &first = fieldDef(form->fields.value(0, Field::Edit1));
            if (form->fields.size() == 1 && first.kind == FieldKind::Edit &&
                form->shape == QLatin1Char('{') + QLatin1StringView(first.key) + QLatin1Char('}'))
                rule.text = &first;
        }
        m_rules << rule;
    }
    // Most pages are in the project's set: its lines are written in it once.
    for (const SlotLine &line : std::as_const(m_lines)) {
        QByteArray bytes;
        QString fault;
        if (!m_charset.encode(line.line, &bytes, &fault)) {
            m_charset = PageCharset();
            m_encoded.clear();
            break;
        }
        m_encoded << bytes;
    }
}

bool HeadWriter::plan(QByteArrayView page, QList<PageEdit> *edits, QStringList *notes,
                      QString *error) const
{
    return plan(page, readPageHead(page), edits, notes, error);
}

bool HeadWriter::plan(QByteArrayView page, const PageHead &head, QList<PageEdit> *edits,
                      QStringList *notes, QString *error) const
{
    edits->clear();
    notes->clear();
    if (hasUtf16Bom(page)) {
        *error = QStringLiteral("UTF-16 pages cannot be written");
        return false;
    }
    if (!head.isHtml || !head.error.isEmpty()) {
        *error = head.isHtml ? head.error : QStringLiteral("Not an HTML page");
        return false;
    }
    PageEncoding own;
    Setting setting;
    if (!pageEncoding(page, head, &own, error) || !chooseCharset(own, false, &setting, error) ||
        !planWith(page, head, setting, edits, notes, error))
        return false;
    // A change that takes the last 8-bit bytes of a page that declares no set leaves it
    // plain ASCII, which takes the project's set the next time: it takes it now, so that
    // applying again changes nothing.
    if (own.source != PageEncoding::Source::Content || edits->isEmpty() ||
        !isAscii(spliced(page, *edits)))
        return true;
    return chooseCharset(own, true, &setting, error) &&
           planWith(page, head, setting, edits, notes, error);
}

bool HeadWriter::planWith(QByteArrayView page, const PageHead &head, const Setting &setting,
                          QList<PageEdit> *edits, QStringList *notes, QString *error) const
{
    edits->clear();
    notes->clear();
    const ValueWriting writing{ValueWriting::Kind::Markup, setting.charset, false, false};

    QMap<QString, QList<const HeadItem *>> found;
    for (const HeadItem &item : head.items) {
        if (managedSlots().contains(item.slot))
            found[item.slot] << &item;
    }
    QList<PageEdit> out;
    QSet<const HeadItem *> removed;
    bool declares = false; // a Content-Type is changed or removed: what the page declares
    const auto remove = [&](const HeadItem *item) {
        out << removal(page, item->begin, item->end);
        removed.insert(item);
        declares = declares || item->slot == contentTypeSlot;
    };
    // A tag the project wants empty goes; one that is empty already says the same.
    const auto empty = [&](const HeadItem *item) {
        if (!item->value.isEmpty())
            remove(item);
    };
    QList<QByteArray> missing;
    QStringList written;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const SlotLine &line = m_lines[index];
        const LineRule &rule = m_rules[index];
        written << line.slot;
        const bool meta = isMetaSlot(line.slot);
        // The page's own title, links and comment stay when the project has none.
        if (!meta && line.value.isEmpty())
            continue;
        if (line.slot == contentTypeSlot && setting.keepDeclaration)
            continue;
        const QList<const HeadItem *> items = found.value(line.slot);
        if (meta && (rule.noItem || line.value.isEmpty())) {
            for (const HeadItem *item : items)
                empty(item);
            continue;
        }
        if (items.isEmpty()) {
            // A field nobody changed asks for no tag; nor does a language <html> gives,
            // nor a set the page is in.
            if (rule.startUp || (line.slot == contentTypeSlot && setting.undeclared) ||
                (line.slot == contentLanguageSlot && !head.lang.slot.isEmpty() &&
                 itemText(page, head.lang, setting.charset)
                         .compare(line.value, Qt::CaseInsensitive) == 0))
                continue;
            QByteArray bytes = m_encoded.value(index);
            QString fault;
            if (!setting.charset.sameAs(m_charset) &&
                !setting.charset.encode(line.line, &bytes, &fault)) {
                *error = QStringLiteral("The line of %1: %2").arg(slotLabel(line.slot), fault);
                return false;
            }
            missing << bytes;
            continue;
        }
        const HeadItem &first = *items.constFirst();
        const QString own = setting.charset.decode(first.value);
        if (rule.text && own.size() > longestText(*rule.text) && own.size() > line.value.size() &&
            own.startsWith(line.value)) {
            *notes << QStringLiteral("%1: kept the page's %2 of %3 characters, which begins "
                                     "with the project's %4; the field takes %5")
                          .arg(first.line)
                          .arg(slotLabel(line.slot))
                          .arg(own.size())
                          .arg(line.value.size())
                          .arg(longestText(*rule.text));
        } else if (own != line.value && !(rule.form && holdsTheSame(own, *rule.form, m_project))) {
            PageEdit edit;
            QString fault;
            if (!valueEdit(first, line.value, writing, &edit, &fault)) {
                *error = QStringLiteral("The line of %1: %2").arg(slotLabel(line.slot), fault);
                return false;
            }
            out << edit;
            declares = declares || line.slot == contentTypeSlot;
        }
        for (qsizetype i = 1; i < items.size(); ++i) {
            *notes << QStringLiteral("%1: removed a second %2 (the first is on line %3)")
                          .arg(items[i]->line)
                          .arg(slotLabel(line.slot))
                          .arg(first.line);
            remove(items[i]);
        }
    }
    // A meta tag the project leaves empty goes; the title, the links and the comment
    // may be the page's own and stay.
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        if (written.contains(it.key()) || !isMetaSlot(it.key()))
            continue;
        if (it.key() == contentTypeSlot && setting.keepDeclaration)
            continue;
        for (const HeadItem *item : it.value())
            empty(item);
    }
    PageEdit insertion;
    if (!missing.isEmpty()) {
        // Beside the program's elements that stay, else after the declaration of the set.
        const HeadItem *anchor = nullptr;
        for (const HeadItem &item : head.items) {
            if (found.contains(item.slot) && !removed.contains(&item))
                anchor = &item;
        }
        if (anchor)
            insertion = insertionAfter(page, anchor->begin, anchor->end, missing);
        else if (!head.declarations.isEmpty())
            insertion = insertionAfter(page, head.declarations.constFirst().begin,
                                       head.declarations.constFirst().end, missing);
        else
            insertion = insertionAtHeadEnd(page, head, missing);
        out << insertion;
    }
    if (!orderEdits(page, &out)) {
        *error = QStringLiteral("The head's elements overlap where lines would go");
        return false;
    }
    if (out.isEmpty())
        return true;
    const QByteArray changed = spliced(page, out);
    if (!keepsByteOrder(changed, error))
        return false;
    // The head is read again only where lines went in, a declaration changed or an
    // element went.
    const PageHead after =
        missing.isEmpty() && !declares && removed.isEmpty() ? head : readPageHead(changed);
    // Removing the element that opened a head the page leaves implied can move what
    // follows it out of the head (a comment before any element belongs to the document),
    // and the page would read otherwise at the next run: every element kept stays.
    for (const HeadItem &item : head.items) {
        if (removed.isEmpty() || removed.contains(&item))
            continue;
        qsizetype at = item.begin;
        for (const PageEdit &edit : std::as_const(out)) {
            if (edit.end <= item.begin)
                at += edit.bytes.size() - (edit.end - edit.begin);
        }
        if (std::none_of(after.items.begin(), after.items.end(),
                         [at](const HeadItem &kept) { return kept.begin == at; })) {
            *error = QStringLiteral("Without the elements that would go, the head would end "
                                    "before the others; left alone");
            return false;
        }
    }
    // Where the lines go, the parser may still be inside a comment or a <title> that is
    // never closed (at the page's end, or before an end tag the page leaves unfinished),
    // and lines put there would be its text: make sure they are read back as tags.
    if (!missing.isEmpty()) {
        const qsizetype start = placeAfterEdits(out, out.indexOf(insertion));
        const qsizetype end = start + insertion.bytes.size();
        const auto inserted =
            std::count_if(after.items.begin(), after.items.end(), [&](const HeadItem &item) {
                return item.begin >= start && item.end <= end;
            });
        if (inserted != missing.size()) {
            *error = QStringLiteral("The page ends inside a comment or element that is never "
                                    "closed; the lines it lacks would become its text");
            return false;
        }
    }
    PageEncoding encoding;
    if (!pageEncoding(changed, after, &encoding, error) ||
        !readsAlike(encoding, setting.charset, error))
        return false;
    *edits = out;
    return true;
}

} // namespace quill
