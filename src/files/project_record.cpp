#include "files/project_record.h"

#include "document/character_set.h"
#include "files/file_io.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace quill {
namespace {

void putInt32(TProjectRecord &record, int offset, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        record.bytes[static_cast<std::size_t>(offset + i)] =
            static_cast<std::uint8_t>(u >> (8 * i));
}

bool inRange(const FieldDef &def, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < def.items.size();
}

} // namespace

std::int32_t storedPosition(const TProjectRecord &record, const FieldDef &def)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t(record.bytes[static_cast<std::size_t>(def.offset + i)]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

CharacterSet recordSet(const TProjectRecord &record)
{
    return CharacterSet::ofItem(storedPosition(record, fieldDef(Field::ComboBox4)));
}

QByteArray storedText(const TProjectRecord &record, const FieldDef &def)
{
    const int length =
        std::min<int>(record.bytes[static_cast<std::size_t>(def.offset)], def.capacity);
    return QByteArray(reinterpret_cast<const char *>(record.bytes.data() + def.offset + 1), length);
}

TProjectRecord GatherProject(const TagDocument &doc)
{
    TProjectRecord record;
    const CharacterSet set = CharacterSet::of(doc);
    for (const FieldDef &def : fieldCatalogue()) {
        switch (def.kind) {
        case FieldKind::Edit: {
            const QByteArray text = set.fitted(doc.text(def.id), def.capacity);
            record.bytes[static_cast<std::size_t>(def.offset)] =
                static_cast<std::uint8_t>(text.size());
            std::memcpy(record.bytes.data() + def.offset + 1, text.constData(),
                        static_cast<std::size_t>(text.size()));
            break;
        }
        case FieldKind::List: {
            const int index = doc.index(def.id);
            putInt32(record, def.offset, inRange(def, index) ? index : -1);
            break;
        }
        case FieldKind::Check:
            record.bytes[static_cast<std::size_t>(def.offset)] = doc.isChecked(def.id) ? 1 : 0;
            break;
        }
    }
    return record;
}

void ApplyProject(const TProjectRecord &record, TagDocument &doc)
{
    const CharacterSet set = recordSet(record);
    for (const FieldDef &def : fieldCatalogue()) {
        switch (def.kind) {
        case FieldKind::Edit:
            doc.setText(def.id, set.decode(storedText(record, def)));
            break;
        case FieldKind::List: {
            const int index = storedPosition(record, def);
            doc.setIndex(def.id, inRange(def, index) ? index : -1);
            break;
        }
        case FieldKind::Check:
            doc.setChecked(def.id, record.bytes[static_cast<std::size_t>(def.offset)] == 1);
            break;
        }
    }
}

QString ProjectFileName(const QString &chosen)
{
    const QString extension = QStringLiteral(".qmk");
    // A dot fourth from the end means a three-character extension, which is replaced;
    // but a dot in a folder's name is no extension, and the file must stay in the
    // folder the user chose.
    const bool inFileName = !QStringView(chosen).right(3).contains(QLatin1Char('/'));
    if (chosen.size() >= 4 && chosen.at(chosen.size() - 4) == QLatin1Char('.') && inFileName)
        return chosen.left(chosen.size() - 4) + extension;
    return chosen + extension;
}

bool SaveProjectFile(const QString &path, const TProjectRecord &record, QString *error)
{
    const QByteArray data(reinterpret_cast<const char *>(record.bytes.data()),
                          TProjectRecord::Size);
    return replaceFile(path, data, error);
}

bool LoadProjectFile(const QString &path, TProjectRecord *record, QString *error, FileKind kind)
{
    QByteArray data;
    if (!readFilePrefix(path, TProjectRecord::Size, &data, error, kind))
        return false;
    std::memcpy(record->bytes.data(), data.constData(), TProjectRecord::Size);
    return true;
}

} // namespace quill
