#pragma once

#include "pages/page_apply.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace quill {

// The edits as a unified diff of the page against itself changed, with three lines of
// context, under the headers "--- a/NAME" and "+++ b/NAME"; empty when nothing
// changes. The lines are the page's own bytes.
QByteArray unifiedDiff(QByteArrayView page, const QList<PageEdit> &edits, const QString &name);

} // namespace quill
