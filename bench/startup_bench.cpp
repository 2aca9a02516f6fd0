// Benchmark of the program's start: the start-up function up to the first pass of the
// event loop (all seven windows, the About box's system information and both pictures
// decoded), with the guidance windows all off and all on (tip, reminder and wizard shown),
// against a bare Qt window and the main window alone, each run in a fresh process,
// offscreen, in the same run of this program. Not a test; built with -DQUILLMARK_BENCH=ON.
//
// Usage: quillmark-startup-bench [RUNS]   (RUNS per kind, default 20)

#include "app/application.h"
#include "windows/look.h"
#include "windows/main_window.h"
#include "windows/preferences_dialog.h"
#include "windows/printer.h"
#include "windows/prompts.h"
#include "windows/random_source.h"
#include "windows/shell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace {

// The same draws every run: the last tip, and the reminder.
class FixedRandom : public quill::RandomSource
{
public:
    void seedFromClock() override {}
    int bounded(int upper) override { return upper - 1; }
};

const char *const Kinds[] = {"bare", "main", "off", "on"};
const char *const Labels[] = {"bare Qt window", "main window alone", "start-up, guidance off",
                              "start-up, guidance on"};

// One measurement in this process: milliseconds from before the application object is
// made to the first pass of the event loop.
int measureOne(int argc, char **argv, const QString &kind)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    quill::applyProgramLook(app);
    quill::QtPrompts prompts;
    quill::DesktopShell shell(prompts);
    quill::QtPrinter printer;
    FixedRandom random;
    const quill::Seams seams{prompts, shell, printer, random};

    std::unique_ptr<QWidget> bare;
    std::unique_ptr<TForm2> preferences;
    std::unique_ptr<TForm1> mainWindow;
    std::unique_ptr<quill::Application> program;
    if (kind == QLatin1StringView("bare")) {
        bare = std::make_unique<QWidget>();
        bare->resize(484, 325);
        bare->show();
    } else if (kind == QLatin1StringView("main")) {
        preferences = std::make_unique<TForm2>(seams);
        mainWindow = std::make_unique<TForm1>(*preferences, seams);
        mainWindow->show();
    } else {
        program = quill::Application::start(seams);
    }
    QTimer::singleShot(0, &app, [&clock] {
        std::printf("%.3f\n", double(clock.nsecsElapsed()) / 1e6);
        QCoreApplication::quit();
    });
    return app.exec();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A start folder with the installed tips and wizard texts and a prefs.cfg with the
// guidance on or off.
bool prepareFolder(const QString &folder, bool guidance)
{
    const std::pair<const char *, int> texts[] = {{"tips", 17}, {"wizard", 5}};
    for (const auto &[kind, count] : texts) {
        QDir().mkpath(folder + u'/' + QLatin1StringView(kind));
        for (int n = 1; n <= count; ++n) {
            const QString name = QStringLiteral("/%1/%2.txt").arg(QLatin1StringView(kind)).arg(n);
            if (!QFile::copy(QStringLiteral(QUILLMARK_DATA_DIR) + name, folder + name))
                return false;
        }
    }
    QByteArray prefs(38, '\0');
    prefs[0] = guidance ? 1 : 0; // tips
    prefs[2] = 2;                // the full page
    prefs[3] = guidance ? 1 : 0; // the reminder
    prefs[5] = guidance ? 1 : 0; // the wizard
    return writeBytes(folder + QStringLiteral("/prefs.cfg"), prefs);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArrayView(argv[1]) == "--one") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return measureOne(argc, argv, QString::fromLatin1(argv[2]));
    }
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 20;
    QTemporaryDir work;
    const QString off = work.filePath(QStringLiteral("off"));
    const QString on = work.filePath(QStringLiteral("on"));
    if (!work.isValid() || !prepareFolder(off, false) || !prepareFolder(on, true)) {
        std::fprintf(stderr, "cannot prepare the start folders\n");
        return 1;
    }

    std::map<QString, std::vector<double>> times;
    // Round by round, so every kind sees the same state of the machine.
    for (int r = 0; r < runs; ++r) {
        for (const char *kind : Kinds) {
            QProcess one;
            one.setWorkingDirectory(QByteArrayView(kind) == "on" ? on : off);
            one.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--one"), QString::fromLatin1(kind)});
            if (!one.waitForFinished(30000) || one.exitCode() != 0) {
                std::fprintf(stderr, "the run of %s failed: %s\n", kind,
                             one.readAllStandardError().constData());
                return 1;
            }
            times[QString::fromLatin1(kind)].push_back(
                one.readAllStandardOutput().trimmed().toDouble());
        }
    }

    std::printf("%d runs of each, a fresh offscreen process per run; milliseconds from before\n"
                "the QApplication is made to the first pass of the event loop\n\n",
                runs);
    std::printf("%-26s %8s %8s\n", "", "best", "median");
    for (std::size_t i = 0; i < std::size(Kinds); ++i) {
        const std::vector<double> &t = times[QString::fromLatin1(Kinds[i])];
        std::printf("%-26s %8.2f %8.2f\n", Labels[i], *std::min_element(t.begin(), t.end()),
                    median(t));
    }
    const double mainAlone = median(times[QStringLiteral("main")]);
    std::printf("\nstart-up, guidance off / main window alone  %.2f (median)\n",
                median(times[QStringLiteral("off")]) / mainAlone);
    std::printf("start-up, guidance on / main window alone   %.2f (median)\n",
                median(times[QStringLiteral("on")]) / mainAlone);
    return 0;
}
