#pragma once

#include <QLineEdit>

class QValidator;

// A one-line field with a typing limit that governs the user only: text the
// program puts in is kept whole, however long. The user can shorten such a text
// but never lengthen it; once it fits the limit again, the plain limit is back.
class FieldEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit FieldEdit(int typingLimit, QWidget *parent = nullptr);

    int typingLimit() const { return m_typingLimit; }
    // Puts text in as the program does (reset, open, QuickInsert): never cut.
    void setProgramText(const QString &text);

private:
    class NoGrowth;

    void textHasChanged(const QString &text);

    int m_typingLimit;
    // How long the text may grow: the limit, or while a longer program text stands,
    // the shortest length the user has cut it to.
    qsizetype m_ceiling;
    QValidator *m_noGrowth;
};
