#pragma once

#include "site/site_table.h"

namespace quill {

// The CSV form of the site table; readSiteTable and writeSiteTable tell what they do.
// `text` begins after any byte-order mark.
bool readCsvTable(QByteArrayView text, const QString &sourceName, SiteTable *table, QString *error);
QByteArray writeCsvTable(const SiteTable &table);

} // namespace quill
