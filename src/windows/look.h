#pragma once

class QApplication;

namespace quill {

// The one look of every window: the Fusion style and one sans face at 8 points
// (11 pixels at 96 dots per inch, given in pixels because every control stands
// at a fixed pixel position).
void applyProgramLook(QApplication &app);

} // namespace quill
