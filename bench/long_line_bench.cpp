// Benchmark of the code page with one long line: Import of a text of one line of SIZE
// characters (default the code page's capacity, 16 MiB) through the File menu's command,
// then the keys a user presses on the page, a repaint as the cursor blink makes it, and
// the close guard's question (answered Cancel), each in milliseconds, against a line of
// 100 characters in the same run. With --accessible, an assistive client is stood in for:
// accessibility is on and every update the page sends is answered with the queries a
// screen reader makes (the caret, the line around it, the character's place).
// Not a test; built with -DQUILLMARK_BENCH=ON.
//
// Usage: quillmark-long-line-bench [--accessible] [SIZE]

#include "app/application.h"
#include "files/import_text.h"
#include "windows/look.h"
#include "windows/main_window.h"
#include "windows/printer.h"
#include "windows/random_source.h"
#include "windows/shell.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

class BenchPrompts : public quill::Prompts
{
public:
    QString file;
    QMessageBox::StandardButton show(QWidget *, const quill::Message &) override
    {
        return QMessageBox::Cancel;
    }
    QAbstractButton *run(QMessageBox &) override { return nullptr; }
    QString openFileName(QWidget *, const quill::FileDialogRequest &) override { return file; }
    QString saveFileName(QWidget *, const quill::FileDialogRequest &) override { return {}; }
    QStringList openFileNames(QWidget *, const quill::FileDialogRequest &) override { return {}; }
    QString folderName(QWidget *, const quill::FileDialogRequest &) override { return {}; }
};

class NoShell : public quill::Shell
{
public:
    void open(const QString &) override {}
};

class FixedRandom : public quill::RandomSource
{
public:
    void seedFromClock() override {}
    int bounded(int) override { return 0; }
};

// What a screen reader asks when the text or its caret changes.
void screenReader(QAccessibleEvent *event)
{
    const auto type = event->type();
    if (type != QAccessible::TextCaretMoved && type != QAccessible::TextInserted &&
        type != QAccessible::TextRemoved && type != QAccessible::TextUpdated)
        return;
    QAccessibleInterface *iface = event->accessibleInterface();
    QAccessibleTextInterface *text = iface ? iface->textInterface() : nullptr;
    if (!text)
        return;
    const int caret = text->cursorPosition();
    int start = 0;
    int end = 0;
    text->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
    text->characterRect(caret);
    text->characterCount();
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    QCoreApplication::processEvents();
    return clock.nsecsElapsed() / 1e6;
}

void key(QWidget *target, int k, Qt::KeyboardModifiers modifiers = {}, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, k, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

struct Step {
    const char *name;
    std::function<void(TForm1 &)> run;
};

void measure(TForm1 &form, BenchPrompts &prompts, const QString &file, qsizetype size)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return;
    out.write(QByteArray(size, 'a'));
    out.close();
    prompts.file = file;

    QPlainTextEdit *memo = form.Memo1;
    const auto paint = [memo] { memo->viewport()->repaint(); };
    const Step steps[] = {
        {"import",
         [&](TForm1 &f) {
             f.findChild<QAction *>(QStringLiteral("Import1"))->trigger();
             paint();
         }},
        {"End",
         [&](TForm1 &) {
             key(memo, Qt::Key_End);
             paint();
         }},
        {"type a letter",
         [&](TForm1 &) {
             key(memo, Qt::Key_X, {}, QStringLiteral("x"));
             paint();
         }},
        {"Backspace",
         [&](TForm1 &) {
             key(memo, Qt::Key_Backspace);
             paint();
         }},
        {"Home",
         [&](TForm1 &) {
             key(memo, Qt::Key_Home);
             paint();
         }},
        {"Right",
         [&](TForm1 &) {
             key(memo, Qt::Key_Right);
             paint();
         }},
        {"Shift+End",
         [&](TForm1 &) {
             key(memo, Qt::Key_End, Qt::ShiftModifier);
             paint();
         }},
        {"Ctrl+Z",
         [&](TForm1 &) {
             key(memo, Qt::Key_Z, Qt::ControlModifier);
             paint();
         }},
        {"blink repaint", [&](TForm1 &) { paint(); }},
        {"close guard", [&](TForm1 &f) { f.close(); }},
    };
    std::printf("%lld characters:\n", static_cast<long long>(size));
    memo->setFocus();
    for (const Step &step : steps)
        std::printf("  %-14s %10.1f ms\n", step.name, timed([&] { step.run(form); }));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    quill::applyProgramLook(app);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool accessible = args.removeAll(QStringLiteral("--accessible")) > 0;
    const qsizetype size = args.isEmpty() ? quill::CodePageCapacity : args.first().toLongLong();
    if (accessible) {
        QAccessible::installUpdateHandler(screenReader);
        QAccessible::setActive(true);
    }

    QTemporaryDir dir;
    // The program's files are not needed: no guidance is due without prefs.cfg.
    QDir::setCurrent(dir.path());
    BenchPrompts prompts;
    NoShell shell;
    quill::QtPrinter printer;
    FixedRandom random;
    const auto program = quill::Application::start({prompts, shell, printer, random});
    TForm1 &form = program->mainWindow();
    QCoreApplication::processEvents();
    std::printf("%s\n", accessible ? "with a screen reader" : "without assistive technology");
    measure(form, prompts, dir.filePath(QStringLiteral("short.txt")), 100);
    measure(form, prompts, dir.filePath(QStringLiteral("long.txt")), size);
    return 0;
}
