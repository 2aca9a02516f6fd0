#include "windows/shell.h"

#include "components/prompts.h"
#include "files/file_io.h"
#include "files/shell_target.h"

#include <QApplication>
#include <QDesktopServices>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace quill {

namespace {

// The opener in a session of its own, as a program started from the desktop would be,
// with the signals this program ignores back at their defaults.
int spawnOpener(const QByteArray &opener, const QByteArray &url, pid_t *pid)
{
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t set;
    sigemptyset(&set);
    posix_spawnattr_setsigmask(&attributes, &set);
    sigaddset(&set, SIGPIPE);
    sigaddset(&set, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &set);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char *const argv[] = {const_cast<char *>(opener.constData()),
                          const_cast<char *>(url.constData()), nullptr};
    const int failed = posix_spawnp(pid, opener.constData(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    return failed;
}

} // namespace

DesktopShell::DesktopShell(Prompts &prompts, const QString &opener)
    : m_prompts(prompts)
    , m_opener(opener)
{}

DesktopShell::~DesktopShell() = default;

void DesktopShell::open(const QString &target)
{
    const QUrl url = shellUrl(target);
    pid_t pid = 0;
    const int failed = spawnOpener(nativeName(m_opener), url.toEncoded(), &pid);
    if (failed == 0) {
        watch(pid, target);
    } else if (failed != ENOENT) {
        report(
            target,
            QStringLiteral("%1 could not be started (%2).").arg(m_opener, ioErrorMessage(failed)));
    } else if (!QDesktopServices::openUrl(url)) {
        report(target, QStringLiteral("No program was found to open it. Install xdg-utils "
                                      "and a web browser."));
    }
}

void DesktopShell::watch(int pid, const QString &target)
{
    // The descriptor of the process becomes readable when it ends.
    // Through syscall(): Debian 12's header declares pidfd_open without C linkage.
    const int fd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) {
        // A kernel without process descriptors: the opener is reaped, unwatched.
        std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
        return;
    }
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier, fd, pid, target] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        notifier->setEnabled(false);
        notifier->deleteLater();
        ::close(fd);
        if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
            report(target, QStringLiteral("%1 found no program to open it, or the program "
                                          "failed (exit status %2).")
                               .arg(m_opener)
                               .arg(WEXITSTATUS(status)));
        else if (WIFSIGNALED(status))
            report(
                target,
                QStringLiteral("%1 was ended by signal %2.").arg(m_opener).arg(WTERMSIG(status)));
    });
}

void DesktopShell::report(const QString &target, const QString &why)
{
    m_prompts.show(QApplication::activeWindow(),
                   {QStringLiteral("Quillmark"),
                    QStringLiteral("Could not open %1\n\n%2").arg(target, why),
                    QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok});
}

} // namespace quill
