#include "windows/field_edit.h"

FieldEdit::FieldEdit(int typingLimit, QWidget *parent)
    : QLineEdit(parent)
    , m_typingLimit(typingLimit)
{
    setMaxLength(typingLimit);
    connect(this, &QLineEdit::textChanged, this, &FieldEdit::restoreLimit);
}

void FieldEdit::setProgramText(const QString &text)
{
    // The limit is raised only as far as the text needs, so typing stays capped.
    if (text.size() > maxLength())
        setMaxLength(int(text.size()));
    setText(text);
}

void FieldEdit::restoreLimit()
{
    if (maxLength() == m_typingLimit || text().size() > m_typingLimit)
        return;
    // Setting the limit puts the text in anew; keep the user's cursor where it was.
    const int cursor = cursorPosition();
    const QSignalBlocker noEcho(this);
    setMaxLength(m_typingLimit);
    setCursorPosition(cursor);
}
