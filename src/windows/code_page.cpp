#include "windows/code_page.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString Break = QStringLiteral("\r\n");

// Marks a text block that goes on with the line of the block before it.
constexpr int ContinuesLine = QTextFormat::UserProperty + 1;

bool continuesLine(const QTextBlock &block)
{
    return block.blockFormat().boolProperty(ContinuesLine);
}

QTextBlockFormat pieceFormat(bool continuation)
{
    QTextBlockFormat format;
    if (continuation)
        format.setProperty(ContinuesLine, true);
    return format;
}

// Whatever a text document takes as the end of a block.
bool isBlockBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\r':
    case u'\n':
    case QChar::ParagraphSeparator:
    case 0xFDD0:
    case 0xFDD1:
        return true;
    default:
        return false;
    }
}

// The lines of a text, split at every block break (a CR LF pair is one).
QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBlockBreak(text[i]))
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    return lines;
}

// The pieces of a line, none longer than `length`, a surrogate pair never split.
QList<QStringView> pieces(QStringView line, qsizetype length)
{
    QList<QStringView> out;
    while (line.size() > length) {
        qsizetype cut = length;
        if (line[cut - 1].isHighSurrogate())
            --cut;
        out << line.left(cut);
        line = line.mid(cut);
    }
    out << line;
    return out;
}

// A selection's text as a copy of it has always read: breaks as LF, a no-break space as
// a blank.
QString copiedText(QString text)
{
    for (QChar &c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xFDD0:
        case 0xFDD1:
            c = u'\n';
            break;
        case QChar::Nbsp:
            c = u' ';
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

CodePage::CodePage(QWidget *parent)
    : QPlainTextEdit(parent)
{}

void CodePage::setCodeText(const QString &text)
{
    QString lines = text;
    lines.replace(Break, QStringLiteral("\n"));
    const QList<QStringView> all = splitLines(lines);
    const bool pieced = std::any_of(all.begin(), all.end(),
                                    [](QStringView line) { return line.size() > PieceLength; });
    if (!pieced) {
        setPlainText(lines);
        return;
    }
    // The pieces go in as lines; each line's count of them marks them afterwards.
    QStringList blocks;
    QList<qsizetype> counts;
    for (const QStringView line : all) {
        const QList<QStringView> parts = pieces(line, PieceLength);
        counts << parts.size();
        for (const QStringView part : parts)
            blocks << part.toString();
    }
    setPlainText(blocks.join(u'\n'));

    // Marking the pieces changes no character: nothing to undo, no change to tell.
    QTextDocument *doc = document();
    const QSignalBlocker quiet(doc);
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    // One edit: the layout hears of it once.
    cursor.beginEditBlock();
    QTextBlock block = doc->begin();
    for (const qsizetype count : counts) {
        block = block.next();
        for (qsizetype i = 1; i < count && block.isValid(); ++i, block = block.next()) {
            cursor.setPosition(block.position());
            cursor.setBlockFormat(pieceFormat(true));
        }
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(true);
}

QString CodePage::codeText() const
{
    QString out;
    out.reserve(document()->characterCount() + document()->blockCount());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin() && !continuesLine(block))
            out += Break;
        // Block by block, as typed: toPlainText() would turn a no-break space into a blank.
        out += block.text().replace(QChar::LineSeparator, Break);
    }
    return out;
}

void CodePage::keyPressEvent(QKeyEvent *event)
{
    QTextCursor cursor = textCursor();
    const bool plainKey = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (isReadOnly() || !plainKey) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const auto done = [this, &cursor] {
        setTextCursor(cursor);
        ensureCursorVisible();
    };
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A new line, not another piece of the line the cursor is in.
        if (continuesLine(document()->findBlock(cursor.selectionStart()))) {
            cursor.beginEditBlock();
            cursor.removeSelectedText();
            cursor.insertBlock(pieceFormat(false));
            cursor.endEditBlock();
            done();
            return;
        }
        break;
    case Qt::Key_Backspace:
        // At the start of a piece, the character before is the last of the piece before.
        if (!cursor.hasSelection() && cursor.atBlockStart() && continuesLine(cursor.block())) {
            while (cursor.atBlockStart() && continuesLine(cursor.block()))
                cursor.movePosition(QTextCursor::PreviousCharacter);
            cursor.deletePreviousChar();
            done();
            return;
        }
        break;
    case Qt::Key_Delete:
        if (!cursor.hasSelection() && cursor.atBlockEnd() && continuesLine(cursor.block().next())) {
            while (cursor.atBlockEnd() && continuesLine(cursor.block().next()))
                cursor.movePosition(QTextCursor::NextCharacter);
            cursor.deleteChar();
            done();
            return;
        }
        break;
    default:
        break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData *CodePage::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QTextBlock block = document()->findBlock(start);
    const QTextBlock last = document()->findBlock(end);
    bool pieced = false;
    for (QTextBlock b = block.next(); b.isValid() && b.position() <= last.position(); b = b.next())
        pieced = pieced || continuesLine(b);
    if (!pieced)
        return QPlainTextEdit::createMimeDataFromSelection();

    QString text;
    for (; block.isValid() && block.position() <= end; block = block.next()) {
        if (block.position() > start && !continuesLine(block))
            text += u'\n';
        const int from = std::max(start - block.position(), 0);
        const int to = std::min(end - block.position(), block.length() - 1);
        text += block.text().mid(from, to - from);
    }
    auto *data = new QMimeData;
    data->setText(copiedText(text));
    return data;
}

void CodePage::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertLines(cursor, source->text());
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CodePage::insertLines(QTextCursor &cursor, QStringView text)
{
    const QList<QStringView> lines = splitLines(text);
    for (qsizetype l = 0; l < lines.size(); ++l) {
        if (l > 0)
            cursor.insertBlock(pieceFormat(false));
        // Pieces counted from the start of the inserted line; the block the cursor is in
        // may grow beyond a piece, as typing makes it.
        const QList<QStringView> parts = pieces(lines[l], PieceLength);
        for (qsizetype p = 0; p < parts.size(); ++p) {
            if (p > 0)
                cursor.insertBlock(pieceFormat(true));
            cursor.insertText(parts[p].toString());
        }
    }
}
