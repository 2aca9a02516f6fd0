#pragma once

#include <QLatin1StringView>
#include <QStringView>

#include <array>
#include <cstddef>
#include <span>

namespace quill {

// How much a finding matters: an error makes `check` fail.
enum class Severity { Error, Warning, Info };
QLatin1StringView severityName(Severity severity);

// The rules of the checks across a site, in the order `check --help` lists them.
enum class CheckRule : int {
    TitleMissing,
    TitleEmpty,
    TitleMultiple,
    TitleTooLong,
    TitleTooShort,
    DescriptionMissing,
    DescriptionMultiple,
    DescriptionTooLong,
    DescriptionTooShort,
    CharsetMissing,
    CharsetLate,
    CharsetNotUtf8,
    CharsetMismatch,
    LangMissing,
    CanonicalRelative,
    CanonicalInvalid,
    CanonicalMultiple,
    OgUrlDiffers,
    Noindex,
    RefreshRedirect,
    ObsoleteTag,
    TitleDuplicate,
    DescriptionDuplicate,
    CanonicalShared,
};
inline constexpr std::size_t CheckRuleCount =
    static_cast<std::size_t>(CheckRule::CanonicalShared) + 1;

// What a rule looks at: one page, or the pages of a site together.
enum class RuleScope { Page, Site };

// What a rule's limit counts; None for a rule without one.
enum class LimitUnit { None, Pixels, Characters };

struct RuleDef {
    CheckRule rule;
    const char *id; // stable: findings, --limits and SARIF name the rule by it
    Severity severity;
    RuleScope scope;
    const char *reason; // one line, for `check --help` and the manual page
    LimitUnit unit;
    double limit;     // the default, in `unit`
    double pixelSize; // for a limit in pixels, the size the text is measured at
};

// The one table of the rules; indexed by CheckRule.
std::span<const RuleDef, CheckRuleCount> checkRules();
const RuleDef &checkRule(CheckRule rule);
// The rule of an id; nullptr when there is none.
const RuleDef *findCheckRule(QStringView id);

} // namespace quill
