#pragma once

#include "document/field_catalogue.h"

class QLabel;
class QWidget;

namespace quill {

// Builds the control of a catalogue field inside `parent` at its position, with
// its object name, hint, typing limit, items and start-up value, and its row label.
QWidget *createFieldControl(const FieldDef &def, QWidget *parent);

// The row label created for a field's control; nullptr when it has none.
QLabel *fieldLabel(const QWidget *control);

// A plain label at a position, as the designer placed them: autosized, never wrapped.
QLabel *createLabel(const char *text, int left, int top, QWidget *parent);

} // namespace quill
