#include "document/character_set.h"

#include "document/tag_document.h"
#include "document/utf8_text.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <QSet>

#include <memory>

namespace quill {
namespace {

struct CloseConverter {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

Converter open(const char *encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(encoding, &status));
    // Every name of the list is one ICU's own data holds; without it nothing could be read.
    if (U_FAILURE(status))
        qFatal("ICU has no converter for %s: %s", encoding, u_errorName(status));
    return converter;
}

const UChar *units(QStringView text)
{
    return reinterpret_cast<const UChar *>(text.utf16());
}

// What the encoder does at a character the set lacks. ICU's own callbacks skip the
// characters Unicode calls default-ignorable (a zero-width joiner, a variation selector)
// without a word; here every character counts.
struct LackingRule {
    Lacking write;
    QList<char32_t> *met = nullptr;
    QSet<char32_t> seen{};
};

void U_CALLCONV onLacking(const void *context, UConverterFromUnicodeArgs *args, const UChar *,
                          int32_t, UChar32 code, UConverterCallbackReason reason,
                          UErrorCode *status)
{
    // The converter's own notices (reset, close, clone) need nothing.
    if (reason > UCNV_IRREGULAR)
        return;
    auto *rule = static_cast<LackingRule *>(const_cast<void *>(context));
    // A lone surrogate is no character: it has no reference and is never named.
    const bool character = reason == UCNV_UNASSIGNED;
    if (rule->met && character && !rule->seen.contains(char32_t(code))) {
        rule->seen.insert(char32_t(code));
        rule->met->append(char32_t(code));
    }
    const QByteArray written = rule->write == Lacking::CharacterReference && character
                                   ? "&#" + QByteArray::number(code) + ';'
                                   : QByteArray("?");
    *status = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, written.constData(), int32_t(written.size()), 0, status);
}

QByteArray encodeWith(const char *encoding, QStringView text, LackingRule rule)
{
    const Converter converter = open(encoding);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), onLacking, &rule, nullptr, nullptr, &status);
    QByteArray out(text.size() + 16, Qt::Uninitialized);
    const UChar *source = units(text);
    const UChar *const sourceEnd = source + text.size();
    char *target = out.data();
    for (;;) {
        status = U_ZERO_ERROR;
        ucnv_fromUnicode(converter.get(), &target, out.data() + out.size(), &source, sourceEnd,
                         nullptr, true, &status);
        if (status != U_BUFFER_OVERFLOW_ERROR)
            break;
        const qsizetype written = target - out.data();
        out.resize(out.size() * 2);
        target = out.data() + written;
    }
    out.truncate(target - out.data());
    return out;
}

} // namespace

CharacterSet CharacterSet::ofItem(int index)
{
    const auto sets = characterSetCatalogue();
    if (index < 0 || std::size_t(index) >= sets.size())
        return western();
    return CharacterSet(sets[std::size_t(index)].encoding);
}

CharacterSet CharacterSet::of(const TagDocument &doc)
{
    return ofItem(doc.index(Field::ComboBox4));
}

CharacterSet CharacterSet::western()
{
    return CharacterSet(characterSetCatalogue().front().encoding);
}

bool CharacterSet::isUtf8() const
{
    return name() == QLatin1StringView("UTF-8");
}

QByteArray CharacterSet::encode(QStringView text, Lacking lacking) const
{
    return encodeWith(m_encoding, text, {lacking});
}

QString CharacterSet::decode(QByteArrayView bytes) const
{
    const Converter converter = open(m_encoding);
    // One byte gives at most one UTF-16 unit in every set here, so the first size fits;
    // the default callback writes U+FFFD for what is no character.
    QString out(bytes.size(), Qt::Uninitialized);
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length =
            ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(out.data()),
                          int32_t(out.size()), bytes.data(), int32_t(bytes.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(length);
            continue;
        }
        out.truncate(U_FAILURE(status) ? 0 : length);
        return out;
    }
}

QList<char32_t> CharacterSet::lacking(QStringView text) const
{
    QList<char32_t> met;
    encodeWith(m_encoding, text, {Lacking::QuestionMark, &met});
    return met;
}

bool CharacterSet::holds(QStringView text) const
{
    return text.isValidUtf16() && lacking(text).isEmpty();
}

QByteArray CharacterSet::fitted(QStringView text, int capacity) const
{
    QByteArray bytes = encode(text, Lacking::QuestionMark);
    if (bytes.size() <= capacity)
        return bytes;
    // In UTF-8, back to the first byte of the character the cut would split; the other
    // sets give each character one byte.
    bytes.truncate(isUtf8() ? utf8CharacterStart(bytes, capacity) : capacity);
    return bytes;
}

QList<LackingText> lackingTexts(const TagDocument &doc, const CharacterSet &set)
{
    QList<LackingText> out;
    for (const FieldDef &def : fieldCatalogue()) {
        if (def.kind != FieldKind::Edit)
            continue;
        QList<char32_t> characters = set.lacking(doc.text(def.id));
        if (!characters.isEmpty())
            out.append({def.id, std::move(characters)});
    }
    return out;
}

} // namespace quill
