#include "site/page_write_back.h"

#include "files/file_io.h"
#include "site/site_page.h"

#include <QHashFunctions>

#include <cerrno>
#include <sys/stat.h>

namespace quill {

QString pageTooLargeMessage()
{
    return QStringLiteral("more than %1 MiB, far beyond any web page; left alone")
        .arg(PageLimit / (1024 * 1024));
}

bool readPageFile(const QString &path, QByteArray *bytes, PageStamp *stamp, QString *error)
{
    bytes->clear();
    const FileDescriptor fd(openForReading(path, FileKind::RegularOnly));
    struct stat status {
    };
    // One byte beyond the bound tells a page that is too large from one that fits.
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 ||
        !readUpTo(fd.get(), PageLimit + 1, bytes)) {
        *error = ioErrorMessage(errno);
        bytes->clear();
        return false;
    }
    if (bytes->size() > PageLimit) {
        *error = pageTooLargeMessage();
        bytes->clear();
        return false;
    }
    if (stamp)
        *stamp = {qint64(status.st_size),
                  qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec,
                  quint64(qHashBits(bytes->constData(), size_t(bytes->size()), 0x51746d6b))};
    return true;
}

bool planWriteBack(QByteArrayView bytes, const QList<SiteColumn> &columns, const SiteRow &row,
                   QList<PageEdit> *edits, QString *error)
{
    SitePage page;
    edits->clear();
    return page.read(bytes, error) && page.plan(columns, row, edits, error);
}

bool writeBack(const QString &path, QByteArrayView bytes, const QList<PageEdit> &edits,
               QString *error)
{
    return replaceFile(path, spliced(bytes, edits), error);
}

} // namespace quill
