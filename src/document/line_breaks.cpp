#include "document/line_breaks.h"

namespace quill {

QString withoutLineBreaks(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            continue; // the LF that follows stands for the pair
        line += (c == QLatin1Char('\r') || c == QLatin1Char('\n')) ? QLatin1Char(' ') : c;
    }
    return line;
}

} // namespace quill
