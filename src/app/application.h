#pragma once

#include <QObject>

#include <memory>

class TForm1;
class TForm2;
class TForm4;

namespace quill {

struct Seams;

// The program: it creates every window once, hands them the seams for boxes,
// dialogs and the shell, and wires the commands that show one window from another.
// The program runs it with the real seams, the tests with scripted ones.
class Application : public QObject
{
    Q_OBJECT

public:
    explicit Application(const Seams &seams, QObject *parent = nullptr);
    ~Application() override;

    // Shows the main window; the program runs until it closes.
    void start();
    // Opens a project given on the command line, once the program is up: nothing can
    // have been changed yet, so nothing is asked.
    void openProject(const QString &path);

    TForm1 &mainWindow() const { return *m_form1; }
    TForm2 &preferences() const { return *m_form2; }
    TForm4 &tools() const { return *m_form4; }

private:
    void showPreferences();
    void showTools(int page);

    // The Preferences dialog holds part of the document the main window reads, so
    // it outlives the main window.
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm4> m_form4;
};

} // namespace quill
