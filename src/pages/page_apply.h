#pragma once

#include "document/tag_document.h"
#include "pages/head_lines.h"
#include "pages/page_charset.h"
#include "pages/page_head.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace quill {

// One change to a page: the bytes [begin, end) give way to `bytes`.
struct PageEdit {
    qsizetype begin = 0;
    qsizetype end = 0;
    QByteArray bytes;
    friend bool operator==(const PageEdit &, const PageEdit &) = default;
};

struct ApplyOptions {
    // Keep the character set the page declares (and its declaration) when the project
    // names another, and write in the page's set.
    bool keepCharset = false;
};

// The changes that put the project's lines into the page's head: each element the
// program writes is replaced by its generated line, a second copy removed, one the
// project leaves empty removed, and the missing lines inserted where the head ends, in
// the generator's order, each on a line of its own with the page's line ending and
// indentation. No other byte changes. The edits come sorted and never overlap. False,
// with `error`, when the page must be left alone; `notes` tells what the page had
// twice ("LINE: what").
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
    TagDocument m_project;
    ApplyOptions m_options;
    QList<SlotLine> m_lines;
    // The lines in the project's set; none when it names none or cannot hold them all.
    PageCharset m_charset;
    QList<QByteArray> m_encoded;
};

// The page with the edits made.
QByteArray spliced(QByteArrayView page, const QList<PageEdit> &edits);

} // namespace quill
