#pragma once

#include <QLineEdit>

// A one-line field with a typing limit that governs the user only: text the
// program puts in is kept whole, however long. The user can shorten such a text
// but not lengthen it; once it fits the limit again, the limit is back.
class FieldEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit FieldEdit(int typingLimit, QWidget *parent = nullptr);

    int typingLimit() const { return m_typingLimit; }
    // Puts text in as the program does (reset, open, QuickInsert): never cut.
    void setProgramText(const QString &text);

private:
    void restoreLimit();

    int m_typingLimit;
};
