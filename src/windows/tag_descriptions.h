#pragma once

#include "document/field_catalogue.h"

#include <span>

namespace quill {

// A "?" button beside a field and the explanation it shows.
struct TagDescription {
    const char *button; // object name of the button
    const char *parent; // object name of the container it stands in
    int left;
    int top;
    const char *text;
    Field field; // the field it explains
};

std::span<const TagDescription> tagDescriptions();

} // namespace quill
