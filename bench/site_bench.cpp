// Benchmark of the site room's text work: text widths and cut points per second over
// titles and descriptions of many lengths, against copying the same texts to UTF-8 in
// the same run; and reading the site table in both forms, against decoding the same
// text from UTF-8 (which any reader of it must do), with the time for four times the
// input to show that reading grows in proportion to it, on plain tables and on texts made to be
// slow (one huge quoted field of doubled quotes, one line of commas, a JSON row nested deep). Not a
// test; built with -DQUILLMARK_BENCH=ON.
//
// Usage: quillmark-site-bench [TEXTS]

#include "site/site_table.h"
#include "site/text_width.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <functional>

using namespace quill;

namespace {

// The best of three runs, in seconds.
double timed(const std::function<void()> &run)
{
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

QStringList sampleTexts(int count)
{
    static const QStringList words =
        QString::fromUtf8(
            "fresh bread from our own ovens every morning sourdough rye spelt loaves buttery "
            "croissants cinnamon buns seasonal fruit tarts baked by hand in the old mill since "
            "1921 Bäckerei Müller café crème brûlée WHOLESALE MOWERS Ωμέγα ДОМ 日本語")
            .split(QLatin1Char(' '));
    QRandomGenerator random(29);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QStringList picked;
        const int length = 4 + random.bounded(i % 3 == 0 ? 30 : 10);
        for (int w = 0; w < length; ++w)
            picked << words[random.bounded(int(words.size()))];
        texts << picked.join(QLatin1Char(' '));
    }
    return texts;
}

QByteArray plainTable(int rows, TableFormat format)
{
    SiteTable table;
    for (const ColumnDef &def : siteColumns())
        table.columns << def.column;
    const QStringList texts = sampleTexts(64);
    for (int r = 0; r < rows; ++r) {
        SiteRow row;
        for (std::size_t c = 0; c < SiteColumnCount; ++c)
            row.cells << (c % 5 == 4 ? SiteCell() : SiteCell(texts[(r + int(c)) % 64]));
        table.rows << row;
    }
    return writeSiteTable(table, format);
}

double reading(const QByteArray &text)
{
    return timed([&] {
        SiteTable table;
        QString error;
        readSiteTable(text, QStringLiteral("bench"), &table, &error);
    });
}

void reportReading(const char *name, const std::function<QByteArray(int)> &make, int size)
{
    const QByteArray small = make(size);
    const QByteArray large = make(4 * size);
    const double once = reading(small);
    const double decoding = timed([&] { (void)QString::fromUtf8(small); });
    std::printf("  %-26s %5.1f MB %6.1f MB/s %5.1fx decoding  4x input: %4.2fx time\n", name,
                double(small.size()) / 1e6, double(small.size()) / once / 1e6, once / decoding,
                reading(large) / once);
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
    QString error;
    const auto measure = TextWidth::liberationSans(&error);
    if (!measure) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QStringList texts = sampleTexts(count);
    double sink = 0;
    const double copying = timed([&] {
        for (const QString &text : texts)
            sink += double(text.toUtf8().size());
    });
    const double widths = timed([&] {
        for (const QString &text : texts)
            sink += measure->width(text, 20);
    });
    const double cuts = timed([&] {
        for (const QString &text : texts)
            sink += double(measure->cutPoint(text, 20, 600));
    });
    std::printf("%d texts of 4 to 33 words (checksum %.0f):\n", count, sink);
    std::printf("  width      %9.0f texts/s  %5.1fx copying to UTF-8\n", count / widths,
                widths / copying);
    std::printf("  cut point  %9.0f texts/s  %5.1fx copying to UTF-8\n", count / cuts,
                cuts / copying);

    std::printf("Reading the table:\n");
    reportReading(
        "CSV, 18 columns", [](int n) { return plainTable(n, TableFormat::Csv); }, 5000);
    reportReading(
        "JSON Lines, 18 columns", [](int n) { return plainTable(n, TableFormat::JsonLines); },
        5000);
    reportReading(
        "CSV, one field of quotes",
        [](int n) { return "page\r\n\"" + QByteArray(n, '"') + QByteArray(n, '"') + "\"\r\n"; },
        1 << 21);
    reportReading(
        "CSV, a line of commas", [](int n) { return "page\r\n" + QByteArray(n, ','); }, 1 << 21);
    reportReading(
        "JSON Lines, nested deep", [](int n) { return "{\"page\":" + QByteArray(n, '[') + "\n"; },
        1 << 20);
    return 0;
}
