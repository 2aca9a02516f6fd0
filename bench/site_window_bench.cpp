// Benchmark of the site window on a large site: the 1,000 pages of about 50 KB of
// bench/make_site.sh opened (read and checked in the background, then shown), against
// the floor of reading the same files in the same threads in the same run; then the
// table sorted, scrolled a screen at a time and painted, one cell edited (the site's
// checks run again) and one column replaced across every row. Best and median of RUNS
// rounds (default 5). Not a test; built with -DQUILLMARK_BENCH=ON, run without a display:
//
//   QT_QPA_PLATFORM=offscreen build/bench/quillmark-site-window-bench [FOLDER]
//
// FOLDER (default /tmp) gets a fresh folder for the pages, removed at the end.

#include "site/page_write_back.h"
#include "site/site_folder.h"
#include "site_window/site_window.h"
#include "windows/prompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace quill;

namespace {

struct Figures {
    double best, median;
};

Figures timed(int runs, const std::function<void()> &run)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times << double(timer.nsecsElapsed()) / 1e9;
    }
    std::sort(times.begin(), times.end());
    return {times.first(), times[times.size() / 2]};
}

void print(const char *what, Figures figures, double floor = 0)
{
    std::printf("%-36s %9.1f %9.1f", what, figures.best * 1e3, figures.median * 1e3);
    if (floor > 0)
        std::printf(" %10.2f", figures.best / floor);
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs =
        qEnvironmentVariableIntValue("RUNS") > 0 ? qEnvironmentVariableIntValue("RUNS") : 5;
    QTemporaryDir work(QString::fromLocal8Bit(argc > 1 ? argv[1] : "/tmp") +
                       QStringLiteral("/site-window-bench.XXXXXX"));
    const QString site = work.filePath(QStringLiteral("site"));
    if (QProcess::execute(QStringLiteral(QUILLMARK_BENCH_DIR "/make_site.sh"), {site}) != 0) {
        std::fprintf(stderr, "make_site.sh failed\n");
        return 1;
    }
    const QStringList pages = sitePages(site);
    qint64 bytes = 0;
    for (const QString &page : pages)
        bytes += QFileInfo(site + QLatin1Char('/') + page).size();
    std::printf("site: %lld pages, %lld bytes; %d rounds; %d threads\n\n", qint64(pages.size()),
                bytes, runs, QThread::idealThreadCount());

    QtPrompts prompts;
    SiteWindow window(prompts);
    window.resize(1280, 800);
    window.show();
    QTableView *table = window.table();

    // The floor: every page's bytes read, in the same pool of threads.
    const Figures floor = timed(runs, [&] {
        QtConcurrent::blockingMap(pages, [&site](const QString &page) {
            QByteArray bytes;
            QString error;
            readPageFile(site + QLatin1Char('/') + page, &bytes, nullptr, &error);
        });
    });
    const Figures open = timed(runs, [&] {
        QSignalSpy loaded(&window, &SiteWindow::loadFinished);
        window.openFolder(site);
        loaded.wait(60000);
    });
    int column = int(SiteColumn::Title);
    Qt::SortOrder order = Qt::DescendingOrder;
    const Figures sort = timed(runs, [&] {
        table->sortByColumn(column, order);
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        table->viewport()->repaint();
    });
    QScrollBar *scroll = table->verticalScrollBar();
    int screens = 0;
    const Figures scrolled = timed(runs, [&] {
        screens = 0;
        for (int value = 0; value <= scroll->maximum(); value += scroll->pageStep()) {
            scroll->setValue(value);
            table->viewport()->repaint();
            ++screens;
        }
    });
    const Figures screen = {scrolled.best / screens, scrolled.median / screens};
    SiteModel &model = window.model();
    int edit = 0;
    const Figures edited = timed(runs, [&] {
        model.setData(model.index(0, column), QStringLiteral("An edited title %1").arg(++edit),
                      Qt::EditRole);
    });
    QList<int> rows(model.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    int replaced = 0;
    const Figures replace = timed(runs, [&] {
        model.replace(SiteColumn::Description, {},
                      QStringLiteral("All the same %1").arg(++replaced), rows);
    });
    model.setPages({}, {});

    std::printf("%-36s %9s %9s %10s\n", "milliseconds", "best", "median", "/ floor");
    print("read the pages (floor)", floor);
    print("open: read, check, show", open, floor.best);
    print("sort by title, repaint", sort);
    std::printf("%-36s %9.2f %9.2f   (%d screens)\n", "scroll a screen, repaint", screen.best * 1e3,
                screen.median * 1e3, screens);
    print("edit a title, check the site again", edited);
    print("replace a column in every row", replace);
    return 0;
}
