#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <sys/resource.h>

// Whole-file helpers for tests that set up and inspect files on disk.
inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Runs `work` while no file may grow past `bytes`, as on a disk that fills part-way:
// a write beyond it fails with EFBIG instead of raising a signal.
template <class Work> auto withFileSizeLimit(rlim_t bytes, Work work)
{
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
    auto result = work();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}
