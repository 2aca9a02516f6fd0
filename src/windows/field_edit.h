#pragma once

#include <QLineEdit>

class QKeyEvent;
class QValidator;

// A one-line field with a typing limit that governs the user only: text the
// program puts in is kept whole, however long. The user can shorten such a text
// but never lengthen it; once it fits the limit again, the plain limit is back.
// What the user pastes or drops in never brings a line break with it.
class FieldEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit FieldEdit(int typingLimit, QWidget *parent = nullptr);

    // Puts text in as the program does (reset, open, QuickInsert): never cut, never
    // changed.
    void setProgramText(const QString &text);
    // The clipboard's text as one line, at the cursor. Hides QLineEdit::paste so
    // every paste of a field, the window's Paste command included, goes through it.
    void paste();
    // Undo and redo may bring back a text longer than the ceiling: it stood before.
    // They hide QLineEdit's for the same reason as paste.
    void undo();
    void redo();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    class NoGrowth;

    void textHasChanged(const QString &text);
    void insertAsOneLine(const QString &text);

    int m_typingLimit;
    // How long the text may grow: the limit, or while a longer program text stands,
    // the shortest length the user has cut it to (or an undo has brought back).
    qsizetype m_ceiling;
    QValidator *m_noGrowth;
    bool m_restoring = false;
};

// A key pressed with Alt is a command or an accelerator, never typing, whether or
// not anything answers to it.
bool isAltKey(const QKeyEvent &event);
