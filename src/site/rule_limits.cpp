#include "site/rule_limits.h"

#include "site/json_type.h"
#include "site/site_text.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <QStringList>

#include <bitset>
#include <cmath>

namespace quill {
namespace {

QString rulesWithLimits()
{
    QStringList ids;
    for (const RuleDef &def : checkRules()) {
        if (def.unit != LimitUnit::None)
            ids << QLatin1StringView(def.id);
    }
    return ids.join(QStringLiteral(", "));
}

} // namespace

RuleLimits::RuleLimits()
{
    for (const RuleDef &def : checkRules())
        m_limits[static_cast<std::size_t>(def.rule)] = def.limit;
}

bool RuleLimits::read(QByteArrayView json, const QString &sourceName, QString *error)
{
    const auto fail = [&](const QString &reason) {
        *error = sourceName + QLatin1StringView(": ") + reason;
        return false;
    };
    // Iterative, so that deep nesting costs heap, not stack.
    constexpr unsigned flags =
        rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
    const QByteArrayView text = json.startsWith("\xEF\xBB\xBF") ? json.sliced(3) : json;
    rapidjson::Document doc;
    doc.Parse<flags>(text.data(), std::size_t(text.size()));
    if (doc.HasParseError()) {
        *error = site_text::placeAt(sourceName, text, qsizetype(doc.GetErrorOffset())) +
                 QString::fromUtf8(rapidjson::GetParseError_En(doc.GetParseError()));
        return false;
    }
    if (!doc.IsObject())
        return fail(QStringLiteral("the limits are one JSON object with a rule id a key"));

    std::array<double, CheckRuleCount> limits = m_limits;
    std::bitset<CheckRuleCount> seen;
    // By index: RapidJSON's member iterators compare ambiguously in C++20.
    const auto members = doc.MemberBegin();
    for (rapidjson::SizeType m = 0; m < doc.MemberCount(); ++m) {
        const auto &member = members[m];
        const QByteArrayView name(member.name.GetString(), member.name.GetStringLength());
        const RuleDef *def = findCheckRule(QString::fromUtf8(name));
        const QString key = site_text::quoted(name);
        if (!def)
            return fail(QStringLiteral("unknown rule %1 (the rules with a limit are %2)")
                            .arg(key, rulesWithLimits()));
        if (def->unit == LimitUnit::None)
            return fail(QStringLiteral("%1 has no limit (the rules with a limit are %2)")
                            .arg(key, rulesWithLimits()));
        const auto index = static_cast<std::size_t>(def->rule);
        if (seen[index])
            return fail(QStringLiteral("%1 given twice").arg(key));
        seen[index] = true;
        const rapidjson::Value &value = member.value;
        if (!value.IsNumber())
            return fail(QStringLiteral("%1 takes a number, not %2").arg(key, jsonTypeName(value)));
        const double limit = value.GetDouble();
        if (limit < 0)
            return fail(QStringLiteral("%1 takes a number not below 0").arg(key));
        if (def->unit == LimitUnit::Characters && limit != std::floor(limit))
            return fail(QStringLiteral("%1 takes a whole number of characters").arg(key));
        limits[index] = limit;
    }
    m_limits = limits;
    return true;
}

} // namespace quill
