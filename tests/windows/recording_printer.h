#pragma once

#include "windows/printer.h"

#include <QStringList>

// The printer for tests: records every text it is asked to print and prints none.
// A failure set beforehand is what the next jobs report.
class RecordingPrinter : public quill::Printer
{
public:
    bool printText(const QString &text, QString *error) override
    {
        texts << text;
        if (failure.isEmpty())
            return true;
        *error = failure;
        return false;
    }

    QStringList texts;
    QString failure;
};
