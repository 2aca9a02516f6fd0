#pragma once

#include <QString>

namespace quill {

// The printer as the Print command uses it: the text goes to the default printer as
// plain text, laid out by the print layout. Tests put a recorder in its place.
class Printer
{
public:
    virtual ~Printer() = default;
    // False, with the message the user is to see, when the job cannot be printed.
    virtual bool printText(const QString &text, QString *error) = 0;
};

// The real printer: the system's default one, or a PDF file when one is named.
class QtPrinter : public Printer
{
public:
    explicit QtPrinter(const QString &pdfFile = {});
    bool printText(const QString &text, QString *error) override;

private:
    QString m_pdfFile;
};

} // namespace quill
