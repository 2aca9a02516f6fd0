#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace quill {

// Where byte offsets of a UTF-8 text stand, as a reader's message names them:
// "NAME:LINE:COLUMN: ", lines and columns counted from 1, columns in characters. The line
// starts are found once; the column is counted from the line's start, or from the last
// place asked for when that lies on the same line before it, so that places asked for in
// order cost no more than one pass over the text, however long its lines.
class TextPlaces
{
public:
    TextPlaces(const QString &name, QByteArrayView text);

    QString at(qsizetype offset);

private:
    QString m_name;
    QByteArrayView m_text;
    std::vector<qsizetype> m_lineStarts;
    qsizetype m_lastLine = 0;
    qsizetype m_lastOffset = 0;
    qsizetype m_lastColumn = 1;
};

} // namespace quill
