#include "windows/accessible_names.h"

#include <utility>

namespace quill {
namespace {

// Fields whose label names only part of what they hold, or that have none.
constexpr std::pair<Field, const char *> ownNames[] = {
    {Field::Edit8, "Refresh to address"},
    {Field::Edit9, "Refresh after seconds"},
    {Field::ComboBox6, "Expires on weekday"},
    {Field::ComboBox7, "Expires on day"},
    {Field::ComboBox8, "Expires in month"},
    {Field::Edit10, "Expires in year"},
    {Field::Edit11, "Expires at hour"},
    {Field::Edit12, "Expires at minute"},
    {Field::CheckBox2, "Other script type"},
    {Field::Edit33, "Script type"},
    {Field::CheckBox3, "Other style type"},
    {Field::Edit34, "Style type"},
    {Field::Edit17, "Comment"},
};

QString labelName(const char *label)
{
    QString name = QString::fromLatin1(label).remove(QLatin1Char('&')).trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

} // namespace

QString accessibleFieldName(const FieldDef &def)
{
    for (const auto &[field, name] : ownNames) {
        if (field == def.id)
            return QString::fromLatin1(name);
    }
    return labelName(def.label);
}

QString descriptionButtonName(const FieldDef &def)
{
    const QString subject = def.label ? labelName(def.label) : accessibleFieldName(def);
    return QStringLiteral("Description: ") + subject;
}

} // namespace quill
