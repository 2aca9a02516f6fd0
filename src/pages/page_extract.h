#pragma once

#include "document/tag_document.h"
#include "pages/page_head.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace quill {

// Reads the tags of a page's head into the fields they came from, as the inverse of
// what the generator writes. Fields the page does not name keep their start-up values,
// except that the texts start empty: a page without a DC date has none. Each tag the
// fields cannot hold is named in `notes` ("LINE: what; kept what"). False, with
// `error`, only when nothing could be read: the bytes are no HTML page.
bool extractPage(QByteArrayView page, TagDocument *doc, QStringList *notes, QString *error);
// extractPage with the head of `page` read already.
bool extractPage(QByteArrayView page, const PageHead &head, TagDocument *doc, QStringList *notes,
                 QString *error);

// The item of a list that `text` names: the same text, else in any case (and for the
// character set, any name of the same set); -1 when none.
int listItemIndex(const FieldDef &def, const QString &text);

} // namespace quill
