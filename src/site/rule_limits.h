#pragma once

#include "site/check_rules.h"

#include <QByteArrayView>
#include <QString>

#include <array>

namespace quill {

// The limits the checks apply: the rule table's defaults, and over them a site's own.
class RuleLimits
{
public:
    RuleLimits();

    // The limit of a rule that has one, in its unit.
    double limit(CheckRule rule) const { return m_limits[static_cast<std::size_t>(rule)]; }

    // Takes a site's limits: one JSON object (UTF-8, strict RFC 8259), a rule id a key
    // and a number not below 0 its limit in the rule's unit, a whole one for characters:
    // {"title-too-long": 580, "description-too-short": 50}. A rule left out keeps its
    // limit. An unknown id, a rule without a limit, a key given twice or a value of
    // another type is an error naming the key. On failure returns false, changes no
    // limit and sets `error` to one line starting "NAME: " or "NAME:LINE:COLUMN: ", with
    // `sourceName` for NAME.
    bool read(QByteArrayView json, const QString &sourceName, QString *error);

private:
    std::array<double, CheckRuleCount> m_limits;
};

} // namespace quill
