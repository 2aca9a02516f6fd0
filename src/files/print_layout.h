#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

namespace quill {

// What the layout needs to know of the printer's font and page, in printer pixels.
struct PrintMetrics {
    int pageWidth = 0;  // of the printable area
    int pageHeight = 0; // of the printable area
    int fontHeight = 0;
    int averageCharWidth = 0;
    std::function<int(QStringView)> textWidth;
};

// One piece of text at its place: the top-left corner of its line on a page.
struct PrintRun {
    int page = 0;
    int x = 0;
    int y = 0;
    QString text;

    friend bool operator==(const PrintRun &, const PrintRun &) = default;
};

struct PrintLayout {
    int pageCount = 1;
    QList<PrintRun> runs;
};

// Lays the code page's text out as the printer's text channel prints it, from the
// printable area's top-left corner. Line breaks are CR LF or LF (a lone CR is a
// character like any other); a form feed starts a page; a tab goes to the next stop,
// eight average character widths apart. A line advances by the font height plus 2,
// an empty one by the font height; a page ends when the next line would start less
// than two such advances above the bottom. A line too wide is broken at the last
// character that fits, and no line or page is ever left without progress, however
// small the page. Blank pages at the end are not printed, but there is always one.
PrintLayout layOutPrint(QStringView text, const PrintMetrics &metrics);

} // namespace quill
