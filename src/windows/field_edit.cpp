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
        const qsizetype allowed = std::max<qsizetype>(m_edit->m_typingLimit, m_edit->m_length);
        return input.size() <= allowed ? Acceptable : Invalid;
    }

private:
    const FieldEdit *m_edit;
};

FieldEdit::FieldEdit(int typingLimit, QWidget *parent)
    : QLineEdit(parent)
    , m_typingLimit(typingLimit)
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
        // The validator sees the new text before textChanged: it must find it allowed.
        m_length = text.size();
        setValidator(m_noGrowth);
        if (text.size() > maxLength())
            setMaxLength(std::numeric_limits<int>::max());
    }
    setText(text);
}

void FieldEdit::textHasChanged()
{
    m_length = text().size();
    if (validator() != m_noGrowth || m_length > m_typingLimit)
        return;
    // Back within the limit: the edit's own limit again. Setting it puts the text in
    // anew, so the cursor is kept where the user had it.
    setValidator(nullptr);
    const int cursor = cursorPosition();
    const QSignalBlocker noEcho(this);
    setMaxLength(m_typingLimit);
    setCursorPosition(cursor);
}
