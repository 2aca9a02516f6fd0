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

QString withCrLfBreaks(QStringView text)
{
    const auto isBreak = [](QChar c) {
        switch (c.unicode()) {
        case u'\r':
        case u'\n':
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
        case 0xFDD0: // a text document's frame marks
        case 0xFDD1:
            return true;
        default:
            return false;
        }
    };
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isBreak(c)) {
            out += c;
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        out += QLatin1StringView("\r\n");
    }
    return out;
}

} // namespace quill
