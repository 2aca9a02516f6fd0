#pragma once

// The readers' one way of naming the type of a JSON value that is not the one a key takes.

#include <rapidjson/document.h>

#include <QString>

namespace quill {

inline QString jsonTypeName(const rapidjson::Value &value)
{
    if (value.IsNull())
        return QStringLiteral("null");
    if (value.IsBool())
        return value.GetBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.IsNumber())
        return QStringLiteral("a number");
    if (value.IsString())
        return QStringLiteral("a string");
    if (value.IsArray())
        return QStringLiteral("an array");
    return QStringLiteral("an object");
}

} // namespace quill
