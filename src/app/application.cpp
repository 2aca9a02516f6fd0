#include "app/application.h"

#include "files/prefs_record.h"
#include "windows/about_box.h"
#include "windows/main_window.h"
#include "windows/preferences_dialog.h"
#include "windows/random_source.h"
#include "windows/startup_tip.h"
#include "windows/tools_window.h"
#include "windows/update_reminder.h"
#include "windows/wizard.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QTimer>

namespace quill {

Application::Application(const Seams &seams)
    : m_random(seams.random)
    , m_form2(std::make_unique<TForm2>(seams))
    , m_form1(std::make_unique<TForm1>(*m_form2, seams))
    , m_aboutBox(std::make_unique<TAboutBox>(seams))
    , m_form4(std::make_unique<TForm4>(seams))
    , m_form5(std::make_unique<TForm5>(seams))
    , m_form6(std::make_unique<TForm6>(seams))
    , m_form7(std::make_unique<TForm7>(seams))
{
    connect(m_form1.get(), &TForm1::preferencesRequested, this, &Application::showPreferences);
    connect(m_form1.get(), &TForm1::toolsRequested, this, &Application::showTools);
    connect(m_form1.get(), &TForm1::aboutRequested, this, &Application::showAbout);
    connect(m_form1.get(), &TForm1::wizardRequested, this, &Application::openWizard);
    connect(m_form4.get(), &TForm4::helpRequested, m_form1.get(), &TForm1::openHelp);
    connect(m_form7.get(), &TForm7::fieldRequested, m_form1.get(), &TForm1::focusField);
    m_form1->installEventFilter(this);
    m_form7->installEventFilter(this);
}

Application::~Application() = default;

std::unique_ptr<Application> Application::start(const Seams &seams)
{
    // 1. The title the desktop shows for the program; window captions stay as they are.
    // With the name of its desktop entry, the desktop shows the windows as the entry's.
    QCoreApplication::setApplicationName(QStringLiteral(QUILLMARK_APP_NAME));
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLMARK_DESKTOP_ID));
    // Every window carries the program's icon unless it has one of its own (Tools).
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmark.svg")));
    // 2. The windows. The main window is built after the dialog whose page-head edits
    // it reads, but each window's creation work runs in the program's order.
    std::unique_ptr<Application> program(new Application(seams));
    program->runCreationWork();
    // 3 to 9.
    program->showGuidance();
    // 10. The main window shows last, after the guidance windows; the caller's event
    // loop runs until it closes.
    program->m_form1->show();
    return program;
}

void Application::runCreationWork()
{
    // Main window: the start folder, and its place in the middle of the desktop.
    m_form1->FormCreate();
    m_form1->moveToDesktopCentre();
    // About box: its system information.
    m_aboutBox->FormCreate();
    // Preferences: prefs.cfg into its controls.
    m_form2->FormActivate(m_form1->startFolder());
    // Tools: no creation work.
    // Startup Tip: seeds the generator and loads a tip.
    m_form5->FormActivate();
    // Check For Updates, Beginner Wizard: no creation work.
}

void Application::showGuidance()
{
    // 3. The record, by relative name: the current folder is still the start folder. A
    // file that cannot be read whole has been reported by the Preferences dialog's
    // load; the guidance then follows the dialog's initial states and nothing is written.
    TPrefsRecord record;
    const bool readWhole = loadPrefsFile(QStringLiteral("prefs.cfg"), &record, nullptr);
    const Preferences prefs = readWhole ? preferencesOf(record) : Preferences{};
    // 4. The reminder comes at about every second start.
    m_random.seedFromClock();
    const bool remind = m_random.bounded(2) == 1;
    // 5 is counted in step 9, in the file as it is then.
    // 6.
    if (prefs.showTips)
        m_form5->showOver(*m_form1);
    // 7.
    if (prefs.checkUpdates && remind)
        m_form6->showOver(*m_form1);
    // 8. Beside the main window, which stands centred until now.
    if (prefs.showWizard)
        openWizard();
    // 9. The file's bytes with the counters one up, read and written in one turn, so that
    // starts at the same moment each count and none writes back what another replaced.
    // Nothing reads the counters, and a read-only installation is normal, so a failed
    // write is not reported and leaves the file.
    if (readWhole)
        updatePrefsFile(QStringLiteral("prefs.cfg"), countStart, nullptr);
}

bool Application::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::WindowActivate:
    case QEvent::ZOrderChange:
        // Once the window has come up or forward, which a show event precedes.
        if (!m_raisePending) {
            m_raisePending = true;
            QTimer::singleShot(0, this, &Application::raiseGuidance);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void Application::raiseGuidance()
{
    m_raisePending = false;
    for (QWidget *window : std::initializer_list<QWidget *>{m_form5.get(), m_form6.get()}) {
        if (window->isVisible())
            window->raise();
    }
}

void Application::openProject(const QString &path)
{
    m_form1->openProject(path);
}

void Application::showPreferences()
{
    // Modeless: an open dialog comes forward with the states it has.
    m_form2->showOver(*m_form1);
}

void Application::showTools(int page)
{
    m_form4->showPage(page, *m_form1);
}

void Application::showAbout()
{
    m_aboutBox->exec();
    // Without a window manager nothing would give the keyboard back.
    if (m_form1->isVisible())
        m_form1->activateWindow();
}

void Application::openWizard()
{
    // Frame positions, as the user sees the windows stand.
    const int top = m_form1->y();
    m_form1->move(1, top);
    m_form7->move(494, top);
    m_form7->openAtFirstStep();
}

} // namespace quill
