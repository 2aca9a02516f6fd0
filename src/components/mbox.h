#pragma once

#include <QObject>
#include <QString>

#include <bitset>
#include <initializer_list>

namespace quill {
class Prompts;
}

// A fixed message a window carries and shows with one call: its kind, its buttons,
// its title and its text are set once, and Execute() shows them in a fresh box each
// time, through the window's prompts.
class TMBox : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TMsgDlgType BoxType READ boxType WRITE setBoxType)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QString Copyright READ copyright WRITE setCopyright)

public:
    enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
    Q_ENUM(TMsgDlgType)
    // In the order the box shows them.
    enum TMsgDlgBtn {
        mbYes,
        mbNo,
        mbOK,
        mbCancel,
        mbAbort,
        mbRetry,
        mbIgnore,
        mbAll,
        mbNoToAll,
        mbYesToAll,
        mbHelp
    };
    Q_ENUM(TMsgDlgBtn)
    class TMsgDlgButtons
    {
    public:
        TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
        {
            for (TMsgDlgBtn b : buttons)
                m_set.set(b);
        }
        bool contains(TMsgDlgBtn b) const { return m_set.test(b); }
        friend bool operator==(const TMsgDlgButtons &, const TMsgDlgButtons &) = default;

    private:
        std::bitset<mbHelp + 1> m_set;
    };

    // What Execute() returns for the button that closed the box; Help and a box that
    // could not be shown give 0.
    static int modalResult(TMsgDlgBtn button);

    // An information box with OK alone, no title and no text.
    TMBox(quill::Prompts &prompts, QObject *owner);

    TMsgDlgType boxType() const { return m_boxType; }
    TMsgDlgButtons buttons() const { return m_buttons; }
    QString caption() const { return m_caption; }
    QString text() const { return m_text; }
    QString copyright() const;
    // The result of the last Execute(); 0 before the first.
    int lastResult() const { return m_lastResult; }

    void setBoxType(TMsgDlgType type) { m_boxType = type; }
    void setButtons(TMsgDlgButtons buttons) { m_buttons = buttons; }
    void setCaption(const QString &caption) { m_caption = caption; }
    void setText(const QString &text) { m_text = text; }
    // The author line is the component's own: what a window stores there is ignored.
    void setCopyright(const QString &) {}

    // Shows the box modally, above every window, and returns the closing button's
    // result (see modalResult), which it also keeps as the last result.
    virtual int Execute();

private:
    quill::Prompts &m_prompts;
    TMsgDlgType m_boxType = mtInformation;
    TMsgDlgButtons m_buttons{mbOK};
    QString m_caption;
    QString m_text;
    int m_lastResult = 0;
};
