#pragma once

#include <QPlainTextEdit>

class QTextCursor;

// The code page's memo. A text edit lays out and paints a line whole, so a line of
// megabytes would take seconds for every key and every blink of the cursor. A line
// longer than a piece is therefore held as pieces, one text block each, all but the
// first marked as continuing the line; the text the page gives back, copies and takes
// in knows no pieces, and keys at a piece's edge act on the line's characters.
class CodePage : public QPlainTextEdit
{
    Q_OBJECT

public:
    // The most characters a text block holds when the page puts a line in.
    static constexpr int PieceLength = 4096;

    explicit CodePage(QWidget *parent = nullptr);

    // Replaces the text, lines separated by CR LF, as setPlainText does: one change,
    // nothing to undo.
    void setCodeText(const QString &text);
    // The text, lines joined by CR LF, every character as it stands; a line separator
    // typed into a line is a break too.
    QString codeText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Inserts text at the cursor: each break a line of its own, each long line in pieces.
    void insertLines(QTextCursor &cursor, QStringView text);
};
