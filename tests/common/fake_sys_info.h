#pragma once

#include "sysinfo/sysinfo_platform.h"

#include <QStringList>

// A machine for tests: each query answers with the value the test set (none: the query
// fails), and the queries are recorded in the order asked.
class FakeSysInfo : public quill::SysInfoPlatform
{
public:
    std::optional<quill::OsVersionRecord> extended; // the answer to the 156-byte query
    std::optional<quill::OsVersionRecord> plain;    // the answer to the 148-byte query
    std::optional<QString> registry;
    std::optional<QString> name;
    std::optional<QString> windows;
    std::optional<QString> system;
    mutable QStringList calls;

    bool computerName(QString *out) const override { return answer("name", name, out); }
    bool windowsFolder(QString *out) const override { return answer("windows", windows, out); }
    bool systemFolder(QString *out) const override { return answer("system", system, out); }
    bool versionInfo(quill::OsVersionRecord *record) const override
    {
        calls << QStringLiteral("version %1").arg(record->size);
        const auto &given = record->size == quill::VersionRecordSizeExtended ? extended : plain;
        if (given) {
            const quint32 size = record->size;
            *record = *given;
            record->size = size;
        }
        return given.has_value();
    }
    std::optional<QString> registryProductType() const override
    {
        calls << QStringLiteral("registry");
        return registry;
    }

private:
    bool answer(const char *call, const std::optional<QString> &value, QString *out) const
    {
        calls << QString::fromLatin1(call);
        if (value)
            *out = *value;
        return value.has_value();
    }
};
