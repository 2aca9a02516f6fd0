#include "windows/field_edit.h"

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
        return input.size() <= m_edit->m_ceiling ? Acceptable : Invalid;
    }

private:
    const FieldEdit *m_edit;
};

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

void FieldEdit::textHasChanged(const QString &text)
{
    if (validator() != m_noGrowth)
        return;
    if (text.size() > m_ceiling) {
        // A change the validator did not see (an undo, say) must not lengthen it either.
        const int cursor = cursorPosition();
        setText(text.left(m_ceiling));
        setCursorPosition(std::min<int>(cursor, int(m_ceiling)));
        return;
    }
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
