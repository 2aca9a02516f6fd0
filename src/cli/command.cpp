#include "cli/command.h"

#include "files/file_io.h"
#include "site/page_write_back.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace quill::cli {

int failure(const QString &message)
{
    std::fprintf(stderr, "quillmark-cli: %s\n",
                 displayName(errorBoxText(message)).toUtf8().constData());
    return Failed;
}

int badUsage(const QString &why)
{
    std::fprintf(stderr, "quillmark-cli: %s\n", why.toLocal8Bit().constData());
    return BadUsage;
}

bool readPage(const QString &path, QByteArray *bytes, QString *error)
{
    // Only a regular file is a page: a pipe would keep the batch waiting, a device never
    // end; standard input is read only when asked for, as `-`, as far as a file is.
    QString why;
    if (!isStandardStream(path)) {
        if (readPageFile(path, bytes, nullptr, &why))
            return true;
    } else if (readStdin(bytes, PageLimit + 1, &why)) {
        if (bytes->size() <= PageLimit)
            return true;
        why = pageTooLargeMessage();
    }
    *error = aboutFile(path, why);
    bytes->clear();
    return false;
}

bool readSitePage(const QString &path, SitePage *page, QString *error)
{
    QByteArray bytes;
    if (!readPage(path, &bytes, error))
        return false;
    if (page->read(bytes, error))
        return true;
    *error = aboutFile(path, *error);
    return false;
}

bool isStandardStream(const QString &name)
{
    return name == QLatin1StringView("-");
}

QString aboutFile(const QString &name, const QString &message)
{
    // The file layer's messages about links name the link already.
    const QString shown = displayName(name);
    if (message.startsWith(shown + QLatin1Char(' ')))
        return message;
    return shown + QStringLiteral(": ") + message;
}

void warning(const QString &name, const QString &message)
{
    std::fprintf(stderr, "quillmark-cli: %s\n",
                 aboutFile(name, QStringLiteral("warning: ") + message).toUtf8().constData());
}

bool readInput(const QString &name, qsizetype limit, QByteArray *bytes, QString *error,
               FileKind kind)
{
    QString why;
    if (isStandardStream(name) ? readStdin(bytes, limit, &why)
                               : readFileUpTo(name, limit, bytes, &why, kind))
        return true;
    *error = aboutFile(name, why);
    return false;
}

bool writeOutput(const QString &name, const QByteArray &bytes, QString *error)
{
    if (isStandardStream(name))
        return writeStdout(bytes, error);
    QString why;
    if (replaceFile(name, bytes, &why))
        return true;
    *error = aboutFile(name, why);
    return false;
}

bool readProject(const QString &name, ProjectFile *file, QString *error)
{
    // Standard input is read as far as a file is.
    QString why;
    QByteArray bytes;
    const bool read = isStandardStream(name)
                          ? readStdin(&bytes, TProjectRecord::Size + ProjectTailLimit, &why) &&
                                projectFileFromBytes(bytes, file, &why)
                          : LoadProjectFile(name, file, &why);
    if (!read)
        *error = aboutFile(name, why);
    return read;
}

bool writeProject(const QString &name, const ProjectFile &file, QString *error)
{
    return writeOutput(name, projectFileBytes(file), error);
}

bool distinctArguments(const QStringList &inputs, const QStringList &outputs, QString *error)
{
    QStringList sources;
    for (const QString &name : inputs)
        sources << (isStandardStream(name) ? QStringLiteral("/dev/stdin") : name);
    QStringList written;
    for (const QString &name : outputs) {
        if (!isStandardStream(name))
            written << name;
    }
    QString why;
    QString atFault;
    if (distinctFiles(sources, written, &why, &atFault))
        return true;
    *error = aboutFile(atFault, why);
    return false;
}

StreamFiles::StreamFiles() = default;

StreamFiles::~StreamFiles()
{
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

bool StreamFiles::makeFolder(QString *error)
{
    if (!m_folder.isEmpty())
        return true;
    QByteArray pattern = nativeName(QDir::tempPath() + QStringLiteral("/quillmark-cli-XXXXXX"));
    if (!::mkdtemp(pattern.data())) {
        *error = aboutFile(QDir::tempPath(), ioErrorMessage(errno));
        return false;
    }
    m_folder = nameFromNative(pattern);
    return true;
}

bool StreamFiles::input(const QString &name, QString *path, QString *error)
{
    *path = name;
    if (!isStandardStream(name))
        return true;
    struct stat info {
    };
    if (::fstat(STDIN_FILENO, &info) != 0) {
        *error = aboutFile(name, ioErrorMessage(errno));
        return false;
    }
    // A file can be read again through its own name, and distinctFiles knows it there.
    if (S_ISREG(info.st_mode)) {
        m_input = *path = QStringLiteral("/dev/stdin");
        return true;
    }
    if (!makeFolder(error))
        return false;
    m_input = *path = m_folder + QStringLiteral("/standard-input");
    ReplacementFile copy(m_input);
    constexpr qsizetype Chunk = 1024 * 1024;
    QByteArray bytes;
    QString why;
    if (!copy.open(&why)) {
        *error = aboutFile(m_input, why);
        return false;
    }
    do {
        if (!readStdin(&bytes, Chunk, &why)) {
            *error = aboutFile(name, why);
            return false;
        }
        if (!copy.write(bytes.constData(), bytes.size(), &why)) {
            *error = aboutFile(m_input, why);
            return false;
        }
    } while (bytes.size() == Chunk);
    if (copy.commit(&why))
        return true;
    *error = aboutFile(m_input, why);
    return false;
}

bool StreamFiles::output(const QString &name, QString *path, QString *error)
{
    *path = name;
    if (!isStandardStream(name))
        return true;
    if (!makeFolder(error))
        return false;
    m_output = *path = m_folder + QStringLiteral("/standard-output");
    return true;
}

bool StreamFiles::finish(QString *error)
{
    if (m_output.isEmpty())
        return true;
    const FileDescriptor file(openForReading(m_output));
    QByteArray bytes(1024 * 1024, Qt::Uninitialized);
    for (ssize_t got = 0; file.get() >= 0;) {
        got = ::read(file.get(), bytes.data(), std::size_t(bytes.size()));
        if (got == 0)
            return true;
        if (got > 0 && !writeStdout(bytes.first(got), error))
            return false;
        if (got < 0 && errno != EINTR)
            break;
    }
    *error = aboutFile(m_output, ioErrorMessage(errno));
    return false;
}

QString StreamFiles::given(const QString &path) const
{
    return !path.isEmpty() && (path == m_input || path == m_output) ? QStringLiteral("-") : path;
}

} // namespace quill::cli
