#pragma once

#include "document/tag_document.h"
#include "pages/head_lines.h"
#include "pages/page_charset.h"
#include "pages/page_edits.h"
#include "pages/page_head.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace quill {

struct ApplyOptions {
    // Keep the character set the page declares (and its declaration) when the project
    // names another, and write in the page's set.
    bool keepCharset = false;
};

// The changes that put the project's lines into the page's head, touching only what
// differs. An element the program writes whose value holds the project's (as extract
// reads it back: a list's item in any case, say) is left byte for byte; one whose value
// differs has only its value's bytes changed (inside the page's own quotes), except that
// a page's text longer than the field takes that begins with the project's text is kept
// (and said so in `notes`). A second copy is removed; so is a meta tag with a value that
// the project leaves empty or whose list has no item chosen. A missing line is added
// only when its fields are not all at their start-up values, after the last element of
// the head the program writes (else after the character-set declaration, else where the
// head ends), in the generator's order, each on a line of its own with the page's line
// ending and indentation. The page's character-set declaration stays when it names the
// project's set, and a missing content-language when <html lang> names the project's
// language; a page that declares no set and is left plain ASCII gains the project's
// Content-Type, as a plain ASCII page does. No other byte changes. The edits come sorted and never
// overlap. False, with `error`, when the page must be left alone; `notes` tells what the page had
// twice or kept ("LINE: what").
bool planApply(QByteArrayView page, const TagDocument &project, const ApplyOptions &options,
               QList<PageEdit> *edits, QStringList *notes, QString *error);

// planApply for many pages with one project: the project's lines are made once.
class HeadWriter
{
public:
    HeadWriter(const TagDocument &project, const ApplyOptions &options);
    bool plan(QByteArrayView page, QList<PageEdit> *edits, QStringList *notes,
              QString *error) const;
    // The same, with the page's head already read.
    bool plan(QByteArrayView page, const PageHead &head, QList<PageEdit> *edits, QStringList *notes,
              QString *error) const;

private:
    struct Setting; // the set the page is written in, and what becomes of its declaration
    bool chooseCharset(const PageEncoding &own, bool ascii, Setting *setting, QString *error) const;
    bool planWith(QByteArrayView page, const PageHead &head, const Setting &setting,
                  QList<PageEdit> *edits, QStringList *notes, QString *error) const;

    // What decides a line's fate beside its value.
    struct LineRule {
        bool startUp = false; // every field it is made of holds its start-up value
        bool noItem = false;  // a list it is made of has no item chosen
        // The one text field the line's value is, whole; none for other lines.
        const FieldDef *text = nullptr;
        const SlotForm *form = nullptr; // how the line is made of the fields
    };

    TagDocument m_project;
    ApplyOptions m_options;
    QList<SlotLine> m_lines;
    QList<LineRule> m_rules;
    // The lines in the project's set; none when it names none or cannot hold them all.
    PageCharset m_charset;
    QList<QByteArray> m_encoded;
};

} // namespace quill
