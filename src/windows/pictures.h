#pragma once

#include <QIcon>
#include <QPixmap>
#include <QStringView>

namespace quill {

// The pictures are drawn in code at the size and pixel ratio they are shown at.

// The small picture of a menu item (16 x 16), by the item's object name ("New1", "cool1",
// "Cut1", ...); a null icon for items that carry none.
QIcon menuItemPicture(QStringView itemName);

// The 9 x 9 picture of the QuickInsert buttons: a blue line-return arrow with a
// grey shadow on a transparent background.
QIcon quickInsertPicture();

// The Tools window's icon, a red toolbox.
QIcon toolsWindowPicture();

// The 16 x 16 pictures of the converter's browse buttons: a page rising out of an open
// folder for the source, a disk with a script on its label for the destination.
QIcon browseSourcePicture();
QIcon browseDestinationPicture();

// The 33 x 49 picture of the startup tip: a lit light bulb on a transparent background,
// for a screen of the given pixel ratio.
QPixmap tipPicture(qreal devicePixelRatio = 1.0);

} // namespace quill
