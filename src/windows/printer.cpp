#include "windows/printer.h"

#include "files/print_layout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace quill {

QtPrinter::QtPrinter(const QString &pdfFile)
    : m_pdfFile(pdfFile)
{}

bool QtPrinter::printText(const QString &text, QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    if (m_pdfFile.isEmpty()) {
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (defaultPrinter.isNull()) {
            *error = QStringLiteral("There is no default printer currently selected");
            return false;
        }
        printer.setPrinterName(defaultPrinter.printerName());
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdfFile);
    }
    // The job carries no title.
    printer.setDocName(QString());

    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("The printer %1 could not start printing")
                     .arg(m_pdfFile.isEmpty() ? printer.printerName() : m_pdfFile);
        return false;
    }
    // The program's face at 8 points, measured at the printer's resolution.
    QFont font = QApplication::font();
    font.setPointSize(8);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const PrintLayout layout = layOutPrint(
        text,
        {area.width(), area.height(), metrics.height(), metrics.averageCharWidth(),
         [&metrics](QStringView piece) { return metrics.horizontalAdvance(piece.toString()); }});

    // Pages come in order, blank ones between form feeds included.
    int page = 0;
    const auto turnTo = [&](int wanted) {
        for (; page < wanted; ++page)
            printer.newPage();
    };
    for (const PrintRun &run : layout.runs) {
        turnTo(run.page);
        painter.drawText(run.x, run.y + metrics.ascent(), run.text);
    }
    turnTo(layout.pageCount - 1);
    if (!painter.end()) {
        *error = QStringLiteral("The print job could not be finished");
        return false;
    }
    return true;
}

} // namespace quill
