#pragma once

#include <QObject>
#include <QString>

namespace quill {
class SysInfoPlatform;
} // namespace quill

// The system information of the machine: four texts, each asked of the platform
// afresh on every read. An owner holds at most one of these components.
class TSysInfo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ComputerName READ ComputerName)
    Q_PROPERTY(QString OSDescription READ OSDescription)
    Q_PROPERTY(QString SystemFolder READ SystemFolder)
    Q_PROPERTY(QString WindowsFolder READ WindowsFolder)

public:
    // Joins `owner`; throws std::runtime_error when the owner already has a TSysInfo.
    // Without a platform it asks the machine's own.
    explicit TSysInfo(QObject *owner, const quill::SysInfoPlatform *platform = nullptr);

    // Empty when the platform cannot tell.
    QString ComputerName() const;
    // Throws ESysInfo when the platform gives no version data.
    QString OSDescription() const;
    // Empty when the platform cannot tell; trailing separators removed.
    QString SystemFolder() const;
    QString WindowsFolder() const;

protected:
    // For a derived component: `kind` is its own class, which the owner must not hold yet.
    TSysInfo(QObject *owner, const quill::SysInfoPlatform *platform, const QMetaObject &kind);

private:
    const quill::SysInfoPlatform &m_platform;
};
