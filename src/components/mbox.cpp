#include "components/mbox.h"

#include "components/prompts.h"

#include <QMessageBox>
#include <QPushButton>

#include <array>

namespace {

struct ButtonDef {
    const char *caption;
    int result;
};

// By TMsgDlgBtn: the caption and the modal result of each button.
constexpr std::array<ButtonDef, TMBox::mbHelp + 1> buttonDefs = {{
    {"&Yes", 6},
    {"&No", 7},
    {"OK", 1},
    {"Cancel", 2},
    {"&Abort", 3},
    {"&Retry", 4},
    {"&Ignore", 5},
    {"&All", 8},
    {"N&o to All", 9},
    {"Yes to &All", 10},
    {"&Help", 0},
}};

QMessageBox::Icon iconOf(TMBox::TMsgDlgType type)
{
    switch (type) {
    case TMBox::mtWarning:
        return QMessageBox::Warning;
    case TMBox::mtError:
        return QMessageBox::Critical;
    case TMBox::mtInformation:
        return QMessageBox::Information;
    case TMBox::mtConfirmation:
        return QMessageBox::Question;
    case TMBox::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int TMBox::modalResult(TMsgDlgBtn button)
{
    return buttonDefs[button].result;
}

TMBox::TMBox(quill::Prompts &prompts, QObject *owner)
    : QObject(owner)
    , m_prompts(prompts)
{}

QString TMBox::copyright() const
{
    return QStringLiteral("Message box component of Quillmark, by the Quillmark developers");
}

int TMBox::Execute()
{
    m_lastResult = 0;
    // Above its window, and back to it when closed.
    auto *ownerWidget = qobject_cast<QWidget *>(parent());
    QMessageBox box(iconOf(m_boxType), m_caption, m_text, QMessageBox::NoButton,
                    ownerWidget ? ownerWidget->window() : nullptr);
    // The title is the caption even when empty, never a default of the box's kind.
    box.setWindowTitle(m_caption);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // One role for all keeps the buttons in their own order on every desktop.
    QPushButton *escape = nullptr;
    QPushButton *preferred = nullptr;
    std::array<QPushButton *, mbHelp + 1> shown{};
    for (int b = mbYes; b <= mbHelp; ++b) {
        if (!m_buttons.contains(TMsgDlgBtn(b)))
            continue;
        shown[b] =
            box.addButton(QString::fromLatin1(buttonDefs[b].caption), QMessageBox::ActionRole);
    }
    // OK, else Yes, is the default; Cancel, else No, else OK answers Escape.
    for (TMsgDlgBtn b : {mbOK, mbYes}) {
        if (!preferred)
            preferred = shown[b];
    }
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK}) {
        if (!escape)
            escape = shown[b];
    }
    if (preferred)
        box.setDefaultButton(preferred);
    if (escape)
        box.setEscapeButton(escape);

    const QAbstractButton *closing = m_prompts.run(box);
    for (int b = mbYes; b <= mbHelp; ++b) {
        if (closing && closing == shown[b])
            m_lastResult = buttonDefs[b].result;
    }
    return m_lastResult;
}
