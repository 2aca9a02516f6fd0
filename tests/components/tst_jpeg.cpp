// The JPEG decoder: the program's two pictures decode to their sizes and colours, and
// a truncated, corrupt, oversized or random stream gives a null image without a word
// on standard error and without ending the program.

#include "components/jpeg_image.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray resource(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What `run` writes to standard error, file descriptor 2 itself.
template <class Run> QByteArray stderrOf(Run run)
{
    QTemporaryFile file;
    if (!file.open())
        return "no temporary file";
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(file.handle(), 2);
    run();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

// The stream with the size in its frame header replaced.
QByteArray withSize(QByteArray jpeg, quint16 width, quint16 height)
{
    const qsizetype sof = jpeg.indexOf("\xff\xc0");
    if (sof < 0)
        return {};
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width);
    return jpeg;
}

} // namespace

class TestJpeg : public QObject
{
    Q_OBJECT

private slots:
    void pictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("sample");
        QTest::addColumn<QColor>("colour");

        // A point on the amber "2.0", and one on the white "B" of the title.
        QTest::newRow("About") << u":/about.jpg"_s << QSize(397, 203) << QPoint(342, 100)
                               << QColor(0xf5, 0xb8, 0x41);
        QTest::newRow("banner") << u":/banner.jpg"_s << QSize(193, 49) << QPoint(10, 11)
                                << QColor(Qt::white);
    }

    void pictures()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(QPoint, sample);
        QFETCH(QColor, colour);

        QImage image;
        QCOMPARE(stderrOf([&] { image = quill::decodeJpeg(resource(name)); }), QByteArray());
        QCOMPARE(image.size(), size);
        QCOMPARE(quill::jpegResource(name), image);
        const QColor pixel = image.pixelColor(sample);
        const int difference = std::max({std::abs(pixel.red() - colour.red()),
                                         std::abs(pixel.green() - colour.green()),
                                         std::abs(pixel.blue() - colour.blue())});
        QVERIFY2(difference <= 24, qPrintable(pixel.name()));
        QVERIFY(!image.hasAlphaChannel());
    }

    void badStreams_data()
    {
        QTest::addColumn<QByteArray>("stream");

        const QByteArray about = resource(u":/about.jpg"_s);
        QVERIFY(about.size() > 1000);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << about.first(about.indexOf("\xff\xda") + 2);
        QTest::newRow("half") << about.first(about.size() / 2);
        QTest::newRow("without the end marker") << about.first(about.size() - 2);
        QTest::newRow("text") << QByteArray("<html>not a picture</html>");
        QTest::newRow("zero size") << withSize(about, 0, 0);
        QTest::newRow("absurd size") << withSize(about, 65000, 65000);
        QTest::newRow("one pixel too wide") << withSize(about, quill::JpegMaxSide + 1, 203);
        QByteArray noise(4096, '\0');
        QRandomGenerator random(7);
        for (char &c : noise)
            c = char(random.bounded(256));
        QTest::newRow("noise") << noise;
        QTest::newRow("noise after a start marker") << QByteArray("\xff\xd8\xff") + noise;
    }

    void badStreams()
    {
        QFETCH(QByteArray, stream);
        QImage image;
        QCOMPARE(stderrOf([&] { image = quill::decodeJpeg(stream); }), QByteArray());
        QVERIFY(image.isNull());
    }

    // Damaged copies of a picture: whatever the damage, no crash, no picture past the
    // limit, and never a word.
    void randomDamage()
    {
        const QByteArray banner = resource(u":/banner.jpg"_s);
        QRandomGenerator random(11);
        const QByteArray printed = stderrOf([&] {
            for (int round = 0; round < 400; ++round) {
                QByteArray stream = banner;
                for (int i = random.bounded(1, 12); i > 0; --i)
                    stream[random.bounded(stream.size())] = char(random.bounded(256));
                if (round % 3 == 0)
                    stream.truncate(random.bounded(stream.size()));
                const QImage image = quill::decodeJpeg(stream);
                QVERIFY(image.width() <= quill::JpegMaxSide &&
                        image.height() <= quill::JpegMaxSide);
            }
        });
        QCOMPARE(printed, QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"
