#pragma once

#include "site/site_table.h"

namespace quill {

// The JSON Lines form of the site table; readSiteTable and writeSiteTable tell what they
// do. `text` begins after any byte-order mark.
bool readJsonLinesTable(QByteArrayView text, const QString &sourceName, SiteTable *table,
                        QString *error);
QByteArray writeJsonLinesTable(const SiteTable &table);

} // namespace quill
