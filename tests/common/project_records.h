#pragma once

// The project record's bytes for tests: reading and writing at the record's offsets,
// and random records.

#include "document/field_catalogue.h"
#include "files/project_record.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

inline std::int32_t int32At(const quill::TProjectRecord &r, int offset)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t(r.bytes[std::size_t(offset + i)]) << (8 * i);
    return std::int32_t(u);
}

inline void putInt32(quill::TProjectRecord &r, int offset, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        r.bytes[std::size_t(offset + i)] = std::uint8_t(std::uint32_t(value) >> (8 * i));
}

inline QByteArray bytesOf(const quill::TProjectRecord &r)
{
    return QByteArray(reinterpret_cast<const char *>(r.bytes.data()), quill::TProjectRecord::Size);
}

inline quill::TProjectRecord recordOf(const QByteArray &bytes)
{
    quill::TProjectRecord r;
    std::memcpy(r.bytes.data(), bytes.constData(), quill::TProjectRecord::Size);
    return r;
}

// A record of random bytes, with lists often near their items and check bytes often
// 0 or 1, so that both the accepted and the rejected values occur. Most texts are
// short or empty, so that the generator's conditions go both ways; one in eight keeps
// its random length byte, which usually lies beyond the capacity.
inline quill::TProjectRecord randomRecord(QRandomGenerator &rng)
{
    quill::TProjectRecord r;
    std::array<quint32, quill::TProjectRecord::Size / 4> words;
    rng.fillRange(words.data(), words.size());
    std::memcpy(r.bytes.data(), words.data(), sizeof words);
    for (const quill::FieldDef &def : quill::fieldCatalogue()) {
        if (def.kind == quill::FieldKind::List && rng.bounded(2))
            putInt32(r, def.offset, rng.bounded(-2, int(def.items.size()) + 2));
        else if (def.kind == quill::FieldKind::Check && rng.bounded(2))
            r.bytes[std::size_t(def.offset)] = std::uint8_t(rng.bounded(3));
        else if (def.kind == quill::FieldKind::Edit && rng.bounded(8))
            r.bytes[std::size_t(def.offset)] =
                std::uint8_t(rng.bounded(std::min(def.capacity, 4) + 1));
    }
    return r;
}
