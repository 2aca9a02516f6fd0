#pragma once

#include <QObject>
#include <QString>

namespace quill {

class Prompts;

// The platform shell's open: hands a path or web address to the program the
// desktop has registered for it.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual void open(const QString &target) = 0;
};

// Opens through the desktop's opener (xdg-open), which it starts for each target and
// watches until it ends. When none can be started, or it ends with an error (no program
// for that kind of address, a browser that failed), a box says which address could not
// be opened. Without xdg-open, Qt's own search for a browser is tried first.
class DesktopShell : public QObject, public Shell
{
public:
    explicit DesktopShell(Prompts &prompts, const QString &opener = QStringLiteral("xdg-open"));
    // An opener still running goes on: it may be the browser itself.
    ~DesktopShell() override;

    void open(const QString &target) override;

private:
    void watch(int pid, const QString &target);
    void report(const QString &target, const QString &why);

    Prompts &m_prompts;
    QString m_opener;
};

} // namespace quill
