#include "files/print_layout.h"

#include <algorithm>

namespace quill {
namespace {

class Pen
{
public:
    Pen(const PrintMetrics &metrics, PrintLayout &layout)
        : m(metrics)
        , m_layout(layout)
    {}

    int x() const { return m_x; }

    void print(QStringView text)
    {
        // Each printed piece takes at least one character, so a page narrower than a
        // character still makes progress.
        while (!text.isEmpty()) {
            qsizetype fits = fitting(text, m.pageWidth - m_x);
            if (fits == 0 && m_x > 0) {
                newLine();
                continue;
            }
            fits = std::max<qsizetype>(fits, 1);
            const QStringView piece = text.first(fits);
            m_layout.runs.append({m_page, m_x, m_y, piece.toString()});
            m_lastPageWithText = m_page;
            m_lineHasText = true;
            m_x += m.textWidth(piece);
            text = text.sliced(fits);
            if (!text.isEmpty())
                newLine();
        }
    }

    void tab()
    {
        const int stop = std::max(1, 8 * m.averageCharWidth);
        const int next = (m_x / stop + 1) * stop;
        if (next > m.pageWidth)
            newLine();
        else
            m_x = next;
    }

    void newLine()
    {
        m_y += m_lineHasText ? m.fontHeight + 2 : m.fontHeight;
        m_x = 0;
        m_lineHasText = false;
        // A page holds at least one line, so a page lower than two lines still ends.
        if (m_y > 0 && m.pageHeight - m_y < 2 * (m.fontHeight + 2))
            newPage();
    }

    void newPage()
    {
        ++m_page;
        m_x = 0;
        m_y = 0;
        m_lineHasText = false;
    }

    int pageCount() const { return m_lastPageWithText + 1; }

private:
    // How many leading characters of `text` fit into `room` pixels. It gallops from
    // the front, so a very long line costs what its printed pieces cost.
    qsizetype fitting(QStringView text, int room) const
    {
        qsizetype low = 0; // fits
        qsizetype high = 1;
        while (high <= text.size() && m.textWidth(text.first(high)) <= room) {
            low = high;
            high *= 2;
        }
        if (high > text.size()) {
            if (m.textWidth(text) <= room)
                return text.size();
            high = text.size();
        }
        while (low + 1 < high) {
            const qsizetype mid = low + (high - low) / 2;
            if (m.textWidth(text.first(mid)) <= room)
                low = mid;
            else
                high = mid;
        }
        return low;
    }

    const PrintMetrics &m;
    PrintLayout &m_layout;
    int m_page = 0;
    int m_x = 0;
    int m_y = 0;
    bool m_lineHasText = false;
    int m_lastPageWithText = 0;
};

} // namespace

PrintLayout layOutPrint(QStringView text, const PrintMetrics &metrics)
{
    PrintLayout layout;
    Pen pen(metrics, layout);
    qsizetype start = 0; // of the characters not yet printed on this line
    const auto flush = [&](qsizetype end) { pen.print(text.sliced(start, end - start)); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            flush(i);
            pen.newLine();
            start = ++i + 1;
        } else if (c == QLatin1Char('\n')) {
            flush(i);
            pen.newLine();
            start = i + 1;
        } else if (c == QLatin1Char('\f')) {
            flush(i);
            pen.newPage();
            start = i + 1;
        } else if (c == QLatin1Char('\t')) {
            flush(i);
            pen.tab();
            start = i + 1;
        }
    }
    flush(text.size());
    layout.pageCount = pen.pageCount();
    return layout;
}

} // namespace quill
