#pragma once

#include "windows/shell.h"

#include <QStringList>

// The shell for tests: records every target it is asked to open and opens none.
class RecordingShell : public quill::Shell
{
public:
    void open(const QString &target) override { targets << target; }

    QStringList targets;
};
