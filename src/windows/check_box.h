#pragma once

#include <QCheckBox>

// A check box that answers a click anywhere in its place, as the desktop the program
// comes from has it; Qt's answers only on the box and its caption.
class CheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint &pos) const override;
};
