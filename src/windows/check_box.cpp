#include "windows/check_box.h"

bool CheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
