// The pages a site's folder holds, and a page's file read with its stamp.

#include "common/file_helpers.h"

#include "site/page_write_back.h"
#include "site/site_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace quill;
using namespace Qt::Literals::StringLiterals;

class TestSiteFolder : public QObject
{
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void commonFolder_data();
    void commonFolder();
    void stamp_data();
    void stamp();
};

void TestSiteFolder::pages_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("listed");

    QTest::newRow("html") << u"index.html"_s << true;
    QTest::newRow("htm, upper case") << u"OLD.HTM"_s << true;
    QTest::newRow("in a folder") << u"a/b/page.html"_s << true;
    QTest::newRow("other suffix") << u"style.css"_s << false;
    QTest::newRow("suffix inside the name") << u"page.html.bak"_s << false;
    QTest::newRow("hidden file") << u".draft.html"_s << false;
    QTest::newRow("in a hidden folder") << u".git/page.html"_s << false;
    QTest::newRow("below a hidden folder") << u"a/.cache/b/page.html"_s << false;
}

void TestSiteFolder::pages()
{
    QFETCH(QString, file);
    QFETCH(bool, listed);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QFileInfo(file).path()));
    QVERIFY(writeFile(dir.filePath(file), "<title>x</title>u"));
    QCOMPARE(sitePages(dir.path()), listed ? QStringList{file} : QStringList{});
}

void TestSiteFolder::commonFolder_data()
{
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QString>("folder");

    QTest::newRow("one") << QStringList{u"/s/a/x.html"_s} << u"/s/a"_s;
    QTest::newRow("siblings") << QStringList{u"/s/a/x.html"_s, u"/s/a/y.html"_s} << u"/s/a"_s;
    QTest::newRow("one deeper") << QStringList{u"/s/a/x.html"_s, u"/s/a/b/y.html"_s} << u"/s/a"_s;
    QTest::newRow("a name's prefix is no folder")
        << QStringList{u"/s/ab/x.html"_s, u"/s/a/y.html"_s} << u"/s"_s;
    QTest::newRow("only the root") << QStringList{u"/a/x.html"_s, u"/b/y.html"_s} << u"/"_s;
}

void TestSiteFolder::commonFolder()
{
    QFETCH(QStringList, pages);
    QFETCH(QString, folder);
    QCOMPARE(quill::commonFolder(pages), folder);
}

void TestSiteFolder::stamp_data()
{
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("sameTime");
    QTest::addColumn<bool>("changed");

    QTest::newRow("untouched") << QByteArray("<title>one</title>") << true << false;
    QTest::newRow("touched only") << QByteArray("<title>one</title>") << false << true;
    QTest::newRow("same size and time, other bytes")
        << QByteArray("<title>two</title>") << true << true;
    QTest::newRow("longer") << QByteArray("<title>three</title>") << true << true;
}

void TestSiteFolder::stamp()
{
    QFETCH(QByteArray, after);
    QFETCH(bool, sameTime);
    QFETCH(bool, changed);
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("p.html"));
    QVERIFY(writeFile(page, "<title>one</title>"));
    // A time of its own, so that a write a moment later does not share it by chance.
    const timespec then[2] = {{1'000'000, 5}, {1'000'000, 5}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(page).constData(), then, 0) == 0);
    QByteArray bytes;
    PageStamp first;
    QString error;
    QVERIFY2(readPageFile(page, &bytes, &first, &error), qPrintable(error));
    QCOMPARE(bytes, QByteArray("<title>one</title>"));

    QVERIFY(writeFile(page, after));
    const timespec later[2] = {{1'000'100, 0}, {1'000'100, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(page).constData(), sameTime ? then : later,
                        0) == 0);
    PageStamp second;
    QVERIFY2(readPageFile(page, &bytes, &second, &error), qPrintable(error));
    QCOMPARE(first != second, changed);
}

QTEST_GUILESS_MAIN(TestSiteFolder)
#include "tst_site_folder.moc"
