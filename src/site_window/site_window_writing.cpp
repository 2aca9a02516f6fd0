// The site window's commands that reach the disk: reviewing the changes, writing them,
// and the questions before changes could be lost.

#include "site_window/site_window.h"

#include "components/prompts.h"
#include "files/file_io.h"
#include "pages/unified_diff.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quill {
namespace {

QString named(const SitePageState &page, const QString &why)
{
    return displayName(page.path) + QStringLiteral(": ") + why;
}

} // namespace

bool SiteWindow::refreshFromDisk(int row, QString *failure)
{
    const SitePageState &page = m_model.page(row);
    QByteArray bytes;
    PageStamp stamp;
    QString error;
    if (!readPageFile(page.file, &bytes, &stamp, &error)) {
        *failure = named(page, error);
        return false;
    }
    if (stamp == page.stamp)
        return true;
    SitePageState fresh = sitePageFromBytes(page.path, page.file, std::move(bytes), stamp);
    if (!fresh.readable()) {
        *failure = named(page, fresh.error);
        return false;
    }
    m_model.reread(row, std::move(fresh), page.pendingColumns());
    return true;
}

bool SiteWindow::settleChangedOnDisk(int row, QString *failure)
{
    if (!refreshFromDisk(row, failure))
        return false;
    const SitePageState &page = m_model.page(row);
    if (!page.changedOnDisk)
        return true;
    QStringList columns;
    for (const SiteColumn column : page.pendingColumns())
        columns << QLatin1StringView(siteColumn(column).key);
    Message question{tr("Quillmark Site"),
                     tr("%1 was changed on disk since it was read.\n\nWrite your changes to %2 "
                        "over it?")
                         .arg(displayName(page.path), columns.join(QStringLiteral(", "))),
                     QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    if (m_prompts.show(this, question) == QMessageBox::Yes)
        return true;
    // The disk wins: the row shows the page as it now is.
    SitePageState asOnDisk = page;
    asOnDisk.cells = asOnDisk.read.cells;
    asOnDisk.changedOnDisk = false;
    m_model.reread(row, std::move(asOnDisk), {});
    return false;
}

QByteArray SiteWindow::pendingDiff(QStringList *notes, QString *shown)
{
    commitOpenEditor();
    QByteArray diff;
    for (const int row : m_model.pendingRows()) {
        QString failure;
        if (!refreshFromDisk(row, &failure)) {
            *notes << failure;
            continue;
        }
        const SitePageState &page = m_model.page(row);
        const QList<SiteColumn> columns = page.pendingColumns();
        QList<PageEdit> edits;
        QString error;
        if (!planWriteBack(page.bytes(), columns, page.pendingRow(columns), &edits, &error))
            *notes << named(page, error);
        else {
            const QByteArray pageDiff = unifiedDiff(page.bytes(), edits, page.path);
            diff += pageDiff;
            // Each page's part read in the page's own set, so its letters show as they are.
            if (shown)
                *shown += page.page.encoding().charset.decode(pageDiff);
        }
        if (page.changedOnDisk)
            *notes << named(page, tr("changed on disk since it was read; the diff is against "
                                     "the page as it now is"));
    }
    return diff;
}

void SiteWindow::reviewChanges()
{
    QStringList notes;
    QString shown;
    const QByteArray diff = pendingDiff(&notes, &shown);
    if (!m_review) {
        m_review = new QDialog(this);
        m_review->setObjectName(QStringLiteral("reviewDialog"));
        m_review->setWindowTitle(tr("Review Changes"));
        m_review->resize(820, 560);
        auto *layout = new QVBoxLayout(m_review);
        m_reviewText = new QPlainTextEdit(m_review);
        m_reviewText->setObjectName(QStringLiteral("reviewText"));
        m_reviewText->setAccessibleName(tr("The changes as a unified diff"));
        m_reviewText->setReadOnly(true);
        m_reviewText->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_reviewText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        m_reviewNotes = new QLabel(m_review);
        m_reviewNotes->setObjectName(QStringLiteral("reviewNotes"));
        m_reviewNotes->setWordWrap(true);
        m_reviewNotes->setTextFormat(Qt::PlainText);
        auto *buttons = new QDialogButtonBox(m_review);
        QPushButton *write =
            buttons->addButton(m_actions.writeChanges->text(), QDialogButtonBox::AcceptRole);
        write->setObjectName(QStringLiteral("reviewWrite"));
        buttons->addButton(QDialogButtonBox::Close);
        connect(buttons, &QDialogButtonBox::rejected, m_review, &QDialog::reject);
        connect(write, &QPushButton::clicked, this, [this] {
            m_review->accept();
            writeChanges();
        });
        layout->addWidget(m_reviewText, 1);
        layout->addWidget(m_reviewNotes);
        layout->addWidget(buttons);
    }
    m_reviewText->setPlainText(shown);
    if (diff.isEmpty() && notes.isEmpty())
        notes << tr("No changes to write.");
    m_reviewNotes->setText(notes.join(QLatin1Char('\n')));
    m_reviewNotes->setVisible(!notes.isEmpty());
    m_review->show();
    m_review->raise();
    m_review->activateWindow();
}

bool SiteWindow::writeChanges()
{
    if (isLoading())
        return false;
    commitOpenEditor();
    QStringList failures;
    int written = 0;
    for (const int row : m_model.pendingRows()) {
        QString failure;
        if (!settleChangedOnDisk(row, &failure)) {
            if (!failure.isEmpty())
                failures << failure;
            continue;
        }
        const SitePageState &page = m_model.page(row);
        const QList<SiteColumn> columns = page.pendingColumns();
        QList<PageEdit> edits;
        QString error;
        if (!planWriteBack(page.bytes(), columns, page.pendingRow(columns), &edits, &error) ||
            (!edits.isEmpty() && !writeBack(page.file, page.bytes(), edits, &error))) {
            failures << named(page, error);
            continue;
        }
        // The page as it now is on disk: its row holds no changes.
        m_model.reread(row, readSitePage(m_model.folder(), page.path), {});
        ++written;
    }
    statusBar()->showMessage(written || !failures.isEmpty()
                                 ? tr("Wrote %1.").arg(pageCount(written))
                                 : tr("No changes to write."),
                             5000);
    if (!failures.isEmpty()) {
        m_prompts.show(this,
                       errorMessage(tr("%1 could not be written; their changes are kept:")
                                        .arg(pageCount(int(failures.size()))) +
                                    QStringLiteral("\n\n") + failures.join(QLatin1Char('\n'))));
    }
    return failures.isEmpty();
}

bool SiteWindow::settlePending()
{
    commitOpenEditor();
    const int pending = m_model.pendingPages();
    if (pending == 0)
        return true;
    QMessageBox box(QMessageBox::Question, tr("Quillmark Site"),
                    tr("Write the changes to %1?").arg(pageCount(pending)), QMessageBox::NoButton,
                    this);
    QPushButton *write = box.addButton(tr("Write"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(write);
    box.setEscapeButton(cancel);
    QAbstractButton *chosen = m_prompts.run(box);
    if (chosen == write)
        return writeChanges();
    return chosen == discard;
}

} // namespace quill
