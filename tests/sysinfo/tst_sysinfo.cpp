// The system information: the description of the operating system from its version
// record (every rule, through a fake platform), the single-instance rule and the
// folders of TSysInfo, the reading of os-release, and the Linux layer on this machine.

#include "common/fake_sys_info.h"
#include "sysinfo/linux_sysinfo.h"
#include "sysinfo/os_description.h"
#include "sysinfo/os_release.h"
#include "sysinfo/sys_info.h"
#include "sysinfo/sysinfo_platform.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTest>

#include <sys/utsname.h>

using namespace Qt::StringLiterals;
using quill::OsVersionRecord;

Q_DECLARE_METATYPE(quill::OsVersionRecord)

namespace {

OsVersionRecord nt(quint32 major, quint32 minor, quint32 build, const QString &servicePack,
                   quint8 productType = 1, quint16 suite = 0)
{
    OsVersionRecord r;
    r.platformId = quill::PlatformWindowsNt;
    r.majorVersion = major;
    r.minorVersion = minor;
    r.buildNumber = build;
    r.servicePack = servicePack;
    r.productType = productType;
    r.suiteMask = suite;
    return r;
}

OsVersionRecord win9x(quint32 minor, const QString &servicePack)
{
    OsVersionRecord r = nt(4, minor, (4 << 24) | (minor << 16) | 1998, servicePack);
    r.platformId = quill::PlatformWindows9x;
    return r;
}

OsVersionRecord platform(quint32 id, const QString &servicePack = {}, const QString &name = {})
{
    OsVersionRecord r = nt(5, 1, 2600, servicePack);
    r.platformId = id;
    r.productName = name;
    return r;
}

// A platform that answers the 156-byte query, or only the 148-byte one.
FakeSysInfo answering(const OsVersionRecord &record, bool extended)
{
    FakeSysInfo p;
    (extended ? p.extended : p.plain) = record;
    return p;
}

class TSysInfoDerived : public TSysInfo
{
    Q_OBJECT

public:
    explicit TSysInfoDerived(QObject *owner)
        : TSysInfo(owner, nullptr, staticMetaObject)
    {}
};

QObject *create(const QString &kind, QObject *owner, const QString &name)
{
    QObject *c = kind == u"derived"_s ? new TSysInfoDerived(owner) : new TSysInfo(owner);
    c->setObjectName(name);
    return c;
}

} // namespace

class TestSysInfo : public QObject
{
    Q_OBJECT

private slots:
    void description_data()
    {
        QTest::addColumn<OsVersionRecord>("record");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<QVariant>("registry"); // none: unreadable
        QTest::addColumn<QString>("expected");

        const QString sp1 = u"Service Pack 1"_s;
        const QVariant none;
        QTest::newRow("XP workstation") << nt(5, 1, 2600, sp1) << true << none
                                        << u"Windows XP Professional Service Pack 1 (Build 2600)"_s;
        QTest::newRow("empty release keeps the format's blank")
            << nt(5, 1, 2600, {}) << true << none << u"Windows XP Professional  (Build 2600)"_s;
        QTest::newRow("personal bit") << nt(5, 1, 2600, sp1, 1, 0x0200) << true << none
                                      << u"Windows XP Personal Service Pack 1 (Build 2600)"_s;
        QTest::newRow("NT 4 server")
            << nt(4, 0, 1381, u"Service Pack 6"_s, 3) << true << none
            << u"Windows NT Server version 4.0 Service Pack 6 (Build 1381)"_s;
        QTest::newRow("DataCenter before Enterprise")
            << nt(5, 0, 2195, u"Service Pack 4"_s, 3, 0x0082) << true << none
            << u"Windows 2000 DataCenter Server Service Pack 4 (Build 2195)"_s;
        QTest::newRow("Enterprise") << nt(5, 0, 2195, {}, 3, 0x0002) << true << none
                                    << u"Windows 2000 Advanced Server  (Build 2195)"_s;
        QTest::newRow("product type 2") << nt(5, 0, 2195, u"Service Pack 4"_s, 2, 0x0082) << true
                                        << none << u"Windows 2000 Service Pack 4 (Build 2195)"_s;
        QTest::newRow("5.2") << nt(5, 2, 3790, sp1, 3) << true << none
                             << u"Unknown Windows NT Release Server Service Pack 1 (Build 3790)"_s;
        QTest::newRow("build: low 16 bits")
            << nt(5, 1, 0x0A280A28, sp1) << true << none
            << u"Windows XP Professional Service Pack 1 (Build 2600)"_s;
        QTest::newRow("release text taken as it is")
            << nt(5, 1, 2600, u"%2 %1"_s) << true << none
            << u"Windows XP Professional %2 %1 (Build 2600)"_s;

        QTest::newRow("95") << win9x(0, {}) << true << none << u"Windows 95"_s;
        QTest::newRow("95 B") << win9x(0, u" B "_s) << true << none << u"Windows 95 OSR2"_s;
        QTest::newRow("95 C") << win9x(0, u" C"_s) << false << none << u"Windows 95 OSR2"_s;
        QTest::newRow("98") << win9x(10, u" B"_s) << true << none << u"Windows 98"_s;
        QTest::newRow("98 SE") << win9x(10, u" A "_s) << true << none << u"Windows 98 SE"_s;
        QTest::newRow("98, one character") << win9x(10, u"A"_s) << true << none << u"Windows 98"_s;
        QTest::newRow("Me") << win9x(90, u" A"_s) << true << none << u"Windows Me"_s;
        QTest::newRow("9x 4.3") << win9x(3, u" A"_s) << true << none
                                << u"Unknown Windows 9x Release"_s;
        QTest::newRow("platform 0") << platform(0, sp1) << true << none << u"Win32s"_s;
        QTest::newRow("platform 3") << platform(3, sp1) << true << none << u"Win32s"_s;

        // Without the extended record the edition comes from the registry.
        const OsVersionRecord nt4 = nt(4, 0, 1381, u"Service Pack 3"_s, 3, 0x0080);
        const QString bare = u"Windows NT version 4.0 Service Pack 3 (Build 1381)"_s;
        const auto withEdition = [](const QString &edition) {
            return u"Windows NT %1 version 4.0 Service Pack 3 (Build 1381)"_s.arg(edition);
        };
        QTest::newRow("registry winnt")
            << nt4 << false << QVariant(u"winnt"_s) << withEdition(u"Professional"_s);
        QTest::newRow("registry LanmanNT")
            << nt4 << false << QVariant(u"LanmanNT"_s) << withEdition(u"Server"_s);
        QTest::newRow("registry ServerNT")
            << nt4 << false << QVariant(u"ServerNT"_s) << withEdition(u"Advanced Server"_s);
        QTest::newRow("registry 81 characters")
            << nt4 << false << QVariant(QString(81, u'W')) << bare;
        QTest::newRow("registry unreadable") << nt4 << false << none << bare;

        QTest::newRow("Linux") << platform(quill::PlatformLinux, u"6.1.0-9-amd64"_s,
                                           u"Example Linux 1.0"_s)
                               << true << none << u"Example Linux 1.0 (Kernel 6.1.0-9-amd64)"_s;
        QTest::newRow("Linux without a kernel release")
            << platform(quill::PlatformLinux, {}, u"Example Linux 1.0"_s) << true << none
            << u"Example Linux 1.0"_s;
        QTest::newRow("Linux without a name") << platform(quill::PlatformLinux, u"6.1.0"_s) << true
                                              << none << u"Linux (Kernel 6.1.0)"_s;
    }

    void description()
    {
        QFETCH(OsVersionRecord, record);
        QFETCH(bool, extended);
        QFETCH(QVariant, registry);
        QFETCH(QString, expected);

        FakeSysInfo p = answering(record, extended);
        if (registry.isValid())
            p.registry = registry.toString();
        QCOMPARE(quill::describeOs(p), expected);

        // The extended record first; the plain one and the registry only when needed.
        QStringList calls{u"version 156"_s};
        if (!extended)
            calls << u"version 148"_s;
        if (!extended && record.platformId == quill::PlatformWindowsNt)
            calls << u"registry"_s;
        QCOMPARE(p.calls, calls);
    }

    void versionQueryFails()
    {
        static_assert(std::is_base_of_v<std::runtime_error, ESysInfo>);
        FakeSysInfo p;
        QString message;
        try {
            quill::describeOs(p);
        } catch (const ESysInfo &e) {
            message = QString::fromUtf8(e.what());
        }
        QCOMPARE(message, u"Can't get OS version info"_s);
        QCOMPARE(p.calls, (QStringList{u"version 156"_s, u"version 148"_s}));
    }

    void singleInstance_data()
    {
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("added");
        QTest::addColumn<bool>("sameOwner");
        QTest::addColumn<QString>("failure"); // empty: allowed

        const QString refused = u"Only one TSysInfo component is permitted on a form: SysInfo1 "
                                u"is already present on AboutBox"_s;
        QTest::newRow("second on one owner") << u"plain"_s << u"plain"_s << true << refused;
        QTest::newRow("derived one present") << u"derived"_s << u"plain"_s << true << refused;
        QTest::newRow("derived added to a plain one")
            << u"plain"_s << u"derived"_s << true << QString();
        QTest::newRow("another owner") << u"plain"_s << u"plain"_s << false << QString();
    }

    void singleInstance()
    {
        QFETCH(QString, present);
        QFETCH(QString, added);
        QFETCH(bool, sameOwner);
        QFETCH(QString, failure);

        QObject box;
        box.setObjectName(u"AboutBox"_s);
        QObject other;
        QObject *first = create(present, &box, u"SysInfo1"_s);

        QString message;
        try {
            create(added, sameOwner ? &box : &other, u"SysInfo2"_s);
        } catch (const std::runtime_error &e) {
            message = QString::fromUtf8(e.what());
        }
        QCOMPARE(message, failure);
        // A refused component never joined: the owner keeps the first alone.
        QCOMPARE(box.children().size(), failure.isEmpty() && sameOwner ? 2 : 1);
        QCOMPARE(box.children().constFirst(), first);
    }

    void folders_data()
    {
        QTest::addColumn<QVariant>("answer"); // none: the query fails
        QTest::addColumn<QString>("expected");

        QTest::newRow("drive root") << QVariant(u"C:\\"_s) << u"C:"_s;
        QTest::newRow("slash") << QVariant(u"/usr/"_s) << u"/usr"_s;
        QTest::newRow("root keeps one") << QVariant(u"/"_s) << u"/"_s;
        QTest::newRow("separators only") << QVariant(u"//"_s) << u"/"_s;
        QTest::newRow("empty") << QVariant(QString()) << QString();
        QTest::newRow("failed") << QVariant() << QString();
        QTest::newRow("longer than the buffer") << QVariant(QString(260, u'a')) << QString();
    }

    void folders()
    {
        QFETCH(QVariant, answer);
        QFETCH(QString, expected);

        FakeSysInfo p;
        if (answer.isValid())
            p.windows = p.system = p.name = answer.toString();
        QObject owner;
        const TSysInfo info(&owner, &p);
        QCOMPARE(info.WindowsFolder(), expected);
        QCOMPARE(info.SystemFolder(), expected);
        // The computer name is taken as it comes, within the same buffer.
        const QString name = answer.toString();
        QCOMPARE(info.ComputerName(), name.size() < 260 ? name : QString());
        // Asked afresh on every read.
        QCOMPARE(info.property("WindowsFolder").toString(), expected);
        QCOMPARE(p.calls, (QStringList{u"windows"_s, u"system"_s, u"name"_s, u"windows"_s}));
    }

    void osReleaseName_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("Debian") << QByteArray("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                              "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n"
                                              "VERSION=\"12 (bookworm)\"\nID=debian\n")
                                << u"Debian GNU/Linux 12 (bookworm)"_s;
        QTest::newRow("single quotes, CR LF")
            << QByteArray("NAME=x\r\nPRETTY_NAME='Example \"Linux\" 1.0'\r\n")
            << u"Example \"Linux\" 1.0"_s;
        QTest::newRow("escapes") << QByteArray(R"(PRETTY_NAME="A \"B\" \\ \$5 \n")")
                                 << uR"(A "B" \ $5 \n)"_s;
        QTest::newRow("comments and blanks")
            << QByteArray("# PRETTY_NAME=\"Not this\"\n\n  NAME=Plain  \n  # VERSION=2\n")
            << u"Plain"_s;
        QTest::newRow("NAME and VERSION")
            << QByteArray("NAME=\"Fedora Linux\"\nVERSION=\"39 (Workstation Edition)\"\n")
            << u"Fedora Linux 39 (Workstation Edition)"_s;
        QTest::newRow("empty PRETTY_NAME")
            << QByteArray("PRETTY_NAME=\nNAME=Alpine\n") << u"Alpine"_s;
        QTest::newRow("VERSION alone") << QByteArray("VERSION=1.0\n") << u"Linux 1.0"_s;
        QTest::newRow("nothing") << QByteArray() << u"Linux"_s;
        QTest::newRow("open quote") << QByteArray("PRETTY_NAME=\"Broken\nNAME=Kept\n") << u"Kept"_s;
        QTest::newRow("unquoted blank ends the value")
            << QByteArray("NAME=Void # a comment\n") << u"Void"_s;
        QTest::newRow("control characters")
            << QByteArray("PRETTY_NAME=\"One\tTwo\x01Three\"\n") << u"One Two Three"_s;
    }

    void osReleaseName()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QCOMPARE(quill::osReleaseName(text), expected);
    }

    void osReleaseNameOfRandomInput()
    {
        QRandomGenerator random(9);
        const QByteArray sample = "PRETTY_NAME=\"Debian GNU/Linux 12\"\nNAME='x'\nVERSION=\\\"1\n";
        for (int round = 0; round < 2000; ++round) {
            QByteArray text = sample;
            if (round % 2) {
                text.resize(random.bounded(300));
                for (char &c : text)
                    c = char(random.bounded(256));
            } else {
                for (int i = random.bounded(8); i >= 0; --i)
                    text[random.bounded(text.size())] = char(random.bounded(256));
                text.truncate(random.bounded(text.size() + 1));
            }
            const QString name = quill::osReleaseName(text);
            QVERIFY(!name.isEmpty());
            QCOMPARE(name, name.simplified());
            for (QChar c : name)
                QVERIFY2(c.category() != QChar::Other_Control, text.toHex().constData());
        }
    }

    // The machine's own layer, checked against what the system says by other ways.
    void linuxLayer()
    {
        const quill::SysInfoPlatform &machine = quill::machineSysInfo();
        struct utsname names {
        };
        QCOMPARE(::uname(&names), 0);
        const QString release = QString::fromLocal8Bit(names.release);

        for (quint32 size : {quill::VersionRecordSizeExtended, quill::VersionRecordSizePlain}) {
            OsVersionRecord record;
            record.size = size;
            QVERIFY(machine.versionInfo(&record));
            QCOMPARE(record.platformId, quill::PlatformLinux);
            QCOMPARE(record.servicePack, release);
            QVERIFY(!record.productName.isEmpty());
        }
        OsVersionRecord odd;
        odd.size = 100;
        QVERIFY(!machine.versionInfo(&odd));
        QVERIFY(!machine.registryProductType());

        QObject owner;
        const TSysInfo info(&owner);
        QVERIFY2(info.OSDescription().endsWith(u" (Kernel "_s + release + u')'),
                 qPrintable(info.OSDescription()));
        QCOMPARE(info.ComputerName(), QSysInfo::machineHostName());
        QCOMPARE(info.WindowsFolder(), u"/usr"_s);
        const QString system = info.SystemFolder();
        QVERIFY2(QFileInfo(system + u"/libc.so.6"_s).isFile(), qPrintable(system));
        QCOMPARE(QFileInfo(system).canonicalFilePath(), system);
    }
};

QTEST_GUILESS_MAIN(TestSysInfo)
#include "tst_sysinfo.moc"
