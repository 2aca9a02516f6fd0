#include "windows/field_edit.h"

#include "document/line_breaks.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QValidator>

#include <algorithm>
#include <limits>

// While the text is longer than the limit, an edit may keep or shorten it only.
class FieldEdit::NoGrowth : public QValidator
{
public:
    explicit NoGrowth(FieldEdit *edit)
        : QValidator(edit)
        , m_edit(edit)
    {}

    State validate(QString &input, int &) const override
    {
        return m_edit->m_restoring || input.size() <= m_edit->m_ceiling ? Acceptable : Invalid;
    }

private:
    const FieldEdit *m_edit;
};

bool isAltKey(const QKeyEvent &event)
{
    return event.modifiers().testFlag(Qt::AltModifier) && !event.text().isEmpty();
}

FieldEdit::FieldEdit(int typingLimit, QWidget *parent)
    : QLineEdit(parent)
    , m_typingLimit(typingLimit)
    , m_ceiling(typingLimit)
    , m_noGrowth(new NoGrowth(this))
{
    // The edit's own limit cuts what is typed or pasted, as users know it.
    setMaxLength(typingLimit);
    connect(this, &QLineEdit::textChanged, this, &FieldEdit::textHasChanged);
}

void FieldEdit::setProgramText(const QString &text)
{
    if (text.size() > m_typingLimit) {
        // The edit's own limit would cut the text; the validator takes over the limit.
        // It sees the new text before textChanged, so the ceiling is set first.
        m_ceiling = text.size();
        setValidator(m_noGrowth);
        if (text.size() > maxLength())
            setMaxLength(std::numeric_limits<int>::max());
    }
    setText(text);
}

void FieldEdit::paste()
{
    insertAsOneLine(QGuiApplication::clipboard()->text());
}

void FieldEdit::undo()
{
    const QScopedValueRollback restoring(m_restoring, true);
    QLineEdit::undo();
}

void FieldEdit::redo()
{
    const QScopedValueRollback restoring(m_restoring, true);
    QLineEdit::redo();
}

void FieldEdit::insertAsOneLine(const QString &text)
{
    if (isReadOnly())
        return;
    // The breaks go before the limit cuts, so a pasted paragraph keeps its first words.
    insert(quill::withoutLineBreaks(text));
}

void FieldEdit::keyPressEvent(QKeyEvent *event)
{
    if (isAltKey(*event)) {
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        undo();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        redo();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FieldEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the X selection, which may hold several lines too.
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        deselect();
        insertAsOneLine(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FieldEdit::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    QMimeData oneLine;
    oneLine.setText(quill::withoutLineBreaks(event->mimeData()->text()));
    QDropEvent drop(event->position(), event->possibleActions(), &oneLine, event->buttons(),
                    event->modifiers(), event->type());
    drop.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&drop);
    event->setDropAction(drop.dropAction());
    event->setAccepted(drop.isAccepted());
}

void FieldEdit::textHasChanged(const QString &text)
{
    if (validator() != m_noGrowth)
        return;
    // Typing and pasting cannot pass the validator; a longer text here is an undo or
    // redo bringing back what stood before, which the user asked for.
    m_ceiling = text.size();
    if (m_ceiling > m_typingLimit)
        return;
    // Back within the limit: the edit's own limit again. Setting it puts the text in
    // anew, so the cursor is kept where the user had it.
    m_ceiling = m_typingLimit;
    setValidator(nullptr);
    const int cursor = cursorPosition();
    const QSignalBlocker noEcho(this);
    setMaxLength(m_typingLimit);
    setCursorPosition(cursor);
}
