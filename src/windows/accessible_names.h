#pragma once

#include "document/field_catalogue.h"

#include <QString>

namespace quill {

// What a screen reader says for controls whose caption does not tell it.

// A field's name: its label without the accelerator mark and the colon, or a name of its
// own where the label does not say what the field holds ("in", ":", none at all).
QString accessibleFieldName(const FieldDef &def);

// The "?" button that explains a field: "Description: " and the field's label.
QString descriptionButtonName(const FieldDef &def);

} // namespace quill
