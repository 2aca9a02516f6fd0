#include "document/meta_generator.h"

#include "document/line_breaks.h"

namespace quill {
namespace {

using F = Field;

bool filled(const TagDocument &doc, Field f)
{
    return !doc.text(f).isEmpty();
}

// A line: prefix, value and suffix joined as they stand; nothing is trimmed.
QString line(const char *prefix, const QString &value, const char *suffix)
{
    return QLatin1StringView(prefix) + value + QLatin1StringView(suffix);
}

// A value inside a double-quoted attribute. A double quote would end the attribute
// early; everything else stays as typed, an entity the user wrote on purpose too.
QString inQuotes(QString value)
{
    return value.replace(QLatin1Char('"'), QLatin1StringView("&quot;"));
}

// A line whose value stands inside a double-quoted attribute.
QString attributeLine(const char *prefix, const QString &value, const char *suffix = "\">")
{
    return line(prefix, inQuotes(value), suffix);
}

void addIfFilled(QStringList &out, const TagDocument &doc, const char *prefix, Field f,
                 const char *suffix = "\">")
{
    if (filled(doc, f))
        out << attributeLine(prefix, doc.text(f), suffix);
}

void addAlways(QStringList &out, const TagDocument &doc, const char *prefix, Field f)
{
    out << attributeLine(prefix, doc.value(f));
}

} // namespace

QStringList generateMetaBlock(const TagDocument &doc)
{
    QStringList out;
    addIfFilled(out, doc, "<meta name=\"description\" content=\"", F::Edit1);
    addIfFilled(out, doc, "<meta name=\"keywords\" content=\"", F::Edit2);
    addIfFilled(out, doc, "<meta name=\"author\" content=\"", F::Edit3);
    addIfFilled(out, doc, "<meta name=\"generator\" content=\"", F::Edit4);
    addIfFilled(out, doc, "<meta name=\"revisit-after\" content=\"", F::Edit5, " days\">");
    addIfFilled(out, doc, "<meta http-equiv=\"title\" content=\"", F::Edit6);
    addIfFilled(out, doc, "<meta name=\"copyright\" content=\"", F::Edit7);
    addAlways(out, doc, "<meta name=\"distribution\" content=\"", F::ComboBox1);
    addAlways(out, doc, "<meta name=\"rating\" content=\"", F::ComboBox2);
    addAlways(out, doc, "<meta name=\"robots\" content=\"", F::ComboBox3);
    addAlways(out, doc,
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=", F::ComboBox4);
    addAlways(out, doc, "<meta http-equiv=\"content-language\" content=\"", F::ComboBox5);

    if (filled(doc, F::Edit8) && filled(doc, F::Edit9)) {
        out << attributeLine("<meta http-equiv=\"refresh\" CONTENT=\"",
                             doc.text(F::Edit9) + QLatin1StringView("; url=") + doc.text(F::Edit8));
    }
    if (filled(doc, F::Edit10) && filled(doc, F::Edit11) && filled(doc, F::Edit12)) {
        const QString date = doc.value(F::ComboBox6) + QLatin1StringView(", ") +
                             doc.value(F::ComboBox7) + QLatin1Char(' ') + doc.value(F::ComboBox8) +
                             QLatin1Char(' ') + doc.text(F::Edit10) + QLatin1Char(' ') +
                             doc.text(F::Edit11) + QLatin1Char(':') + doc.text(F::Edit12);
        out << attributeLine("<meta http-equiv=\"expires\" content=\"", date, ":00 GMT\">");
    }

    addAlways(out, doc, "<meta http-equiv=\"pragma\" content=\"", F::ComboBox9);
    addAlways(out, doc, "<meta http-equiv=\"window-target\" content=\"", F::ComboBox10);
    addIfFilled(out, doc, "<meta http-equiv=\"pics-label\" content=\"", F::Edit16);
    out << attributeLine("<meta http-equiv=\"Content-Script-Type\" content=\"",
                         doc.isChecked(F::CheckBox2) ? doc.text(F::Edit33)
                                                     : doc.value(F::ComboBox11));
    out << attributeLine("<meta http-equiv=\"Content-Style-Type\" content=\"",
                         doc.isChecked(F::CheckBox3) ? doc.text(F::Edit34)
                                                     : doc.value(F::ComboBox12));
    addAlways(out, doc, "<meta http-equiv=\"classification\" content=\"", F::ComboBox13);
    // The comment is no attribute: its text stands as typed.
    if (filled(doc, F::Edit17))
        out << line("<!--", doc.text(F::Edit17), "-->");

    addIfFilled(out, doc, "<meta name=\"dc.title\" content=\"", F::Edit18);
    addIfFilled(out, doc, "<meta name=\"dc.creator\" content=\"", F::Edit19);
    addIfFilled(out, doc, "<meta name=\"dc.subject\" content=\"", F::Edit21);
    addIfFilled(out, doc, "<meta name=\"dc.description\" content=\"", F::Edit20);
    addIfFilled(out, doc, "<meta name=\"dc.publisher\" content=\"", F::Edit22);
    addIfFilled(out, doc, "<meta name=\"dc.contributor\" content=\"", F::Edit23);
    addIfFilled(out, doc, "<meta name=\"dc.date\" content=\"", F::Edit24);
    addIfFilled(out, doc, "<meta name=\"dc.type\" content=\"", F::Edit25);
    addIfFilled(out, doc, "<meta name=\"dc.format\" content=\"", F::Edit26);
    addIfFilled(out, doc, "<meta name=\"dc.identifier\" content=\"", F::Edit27);
    addIfFilled(out, doc, "<meta name=\"dc.source\" content=\"", F::Edit28);
    addIfFilled(out, doc, "<meta name=\"dc.language\" content=\"", F::Edit29);
    addIfFilled(out, doc, "<meta name=\"dc.relation\" content=\"", F::Edit30);
    addIfFilled(out, doc, "<meta name=\"dc.coverage\" content=\"", F::Edit31);
    addIfFilled(out, doc, "<meta name=\"dc.rights\" content=\"", F::Edit32);
    return out;
}

QStringList generateMetaCode(const TagDocument &doc)
{
    if (doc.mode() == GenerationMode::MetaOnly)
        return generateMetaBlock(doc);

    QStringList out;
    out << QStringLiteral("<HTML>") << QStringLiteral("<HEAD>")
        << line("<TITLE>", doc.text(F::PageTitle), "</TITLE>");
    addIfFilled(out, doc, "<link rel=\"shortcut icon\" href=\"", F::FaviconUrl);
    addIfFilled(out, doc, "<link rel=stylesheet href=\"", F::ExternalCss, "\" type=\"text/css\">");
    out << generateMetaBlock(doc);
    out << QStringLiteral("</HEAD>") << QStringLiteral("<BODY>") << QString()
        << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
    return out;
}

QString codePageText(const QStringList &lines)
{
    QStringList out;
    out.reserve(lines.size());
    for (const QString &l : lines)
        out << withCrLfBreaks(l);
    return out.join(QLatin1StringView("\r\n"));
}

QString generateCodeText(const TagDocument &doc)
{
    return codePageText(generateMetaCode(doc));
}

} // namespace quill
