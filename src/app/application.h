#pragma once

#include "windows/seams.h"

#include <QObject>

#include <memory>

class TAboutBox;
class TForm1;
class TForm2;
class TForm4;
class TForm5;
class TForm6;
class TForm7;

namespace quill {

// The program: it creates every window once, hands them the seams for boxes, dialogs,
// the shell and chance, and wires the commands that show one window from another.
// The program runs it with the real seams, the tests and the benchmark with theirs.
class Application : public QObject
{
    Q_OBJECT

public:
    // The start-up sequence: creates the windows and runs their creation work, reads
    // prefs.cfg, shows the guidance it asks for, counts the start in the file and shows
    // the main window. The caller then runs the event loop until the main window closes.
    static std::unique_ptr<Application> start(const Seams &seams);

    ~Application() override;

    // Opens a project given on the command line, once the program is up: nothing can
    // have been changed yet, so nothing is asked.
    void openProject(const QString &path);

    TForm1 &mainWindow() const { return *m_form1; }
    TForm2 &preferences() const { return *m_form2; }
    TAboutBox &aboutBox() const { return *m_aboutBox; }
    TForm4 &tools() const { return *m_form4; }
    TForm5 &startupTip() const { return *m_form5; }
    TForm6 &updateReminder() const { return *m_form6; }
    TForm7 &wizard() const { return *m_form7; }

protected:
    // Watches the main window and the wizard for whatever can bring them over the tip
    // and the reminder.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit Application(const Seams &seams);

    void runCreationWork();
    void showGuidance();
    void showPreferences();
    void showTools(int page);
    void showAbout();
    // The wizard beside the main window, both moved, at step 1.
    void openWizard();
    // The startup tip and the update reminder stay above the program's other windows:
    // raised again, when shown, once the main window or the wizard has come forward.
    // The desktop's window manager may not keep them there (there may be none).
    void raiseGuidance();

    RandomSource &m_random;
    // The Preferences dialog holds part of the document the main window reads, so
    // it outlives the main window.
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TAboutBox> m_aboutBox;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm7> m_form7;
    bool m_raisePending = false;
};

} // namespace quill
