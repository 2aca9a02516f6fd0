// quillmark-cli check: the missing, repeated, too long and contradictory tags of every
// page of a site, as lines an editor jumps to, JSON, or a SARIF log.

#include "cli/command.h"

#include "files/file_io.h"
#include "site/site_checks.h"
#include "site/text_width.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

namespace quill::cli {

namespace {

// Far beyond any site's limits, and a bound for an endless source.
constexpr qsizetype LimitsFileLimit = 1024 * 1024;

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

void put(JsonWriter &json, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    json.String(utf8.constData(), rapidjson::SizeType(utf8.size()));
}

void put(JsonWriter &json, const char *text)
{
    json.String(text);
}

// An editor opens a finding about the page as a whole at its top.
int shownLine(const SiteFinding &finding)
{
    return finding.line > 0 ? finding.line : 1;
}

QByteArray asLines(const QList<SiteFinding> &findings)
{
    QByteArray out;
    for (const SiteFinding &finding : findings)
        out += (displayName(finding.page) + QStringLiteral(":%1: %2 %3: %4\n")
                                                .arg(shownLine(finding))
                                                .arg(severityName(finding.severity()),
                                                     QLatin1StringView(checkRule(finding.rule).id),
                                                     finding.message))
                   .toUtf8();
    return out;
}

QByteArray asJson(const QList<SiteFinding> &findings)
{
    QByteArray out;
    for (const SiteFinding &finding : findings) {
        rapidjson::StringBuffer buffer;
        JsonWriter json(buffer);
        json.StartObject();
        json.Key("page");
        put(json, finding.page);
        json.Key("line");
        json.Int(shownLine(finding));
        json.Key("severity");
        put(json, severityName(finding.severity()).data());
        json.Key("rule");
        put(json, checkRule(finding.rule).id);
        json.Key("message");
        put(json, finding.message);
        json.Key("measured");
        if (finding.measured)
            json.Double(*finding.measured);
        else
            json.Null();
        json.EndObject();
        out.append(buffer.GetString(), qsizetype(buffer.GetSize()));
        out += '\n';
    }
    return out;
}

// SARIF's name for a severity.
const char *sarifLevel(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Info:
        break;
    }
    return "note";
}

// The page as a URI reference: relative to the working folder where it lies within it
// (as code-scanning services take them, against the checked-out tree), each byte of its
// name that a URI cannot hold percent-encoded; else a file: URI.
QByteArray pageUri(const QString &page)
{
    const QString absolute = QDir::cleanPath(QFileInfo(page).absoluteFilePath());
    const QString relative = QDir::current().relativeFilePath(absolute);
    if (relative.startsWith(QStringLiteral("../")) || relative == QLatin1StringView(".."))
        return QUrl::fromLocalFile(absolute).toEncoded();
    QByteArray uri;
    for (const QByteArray &part : nativeName(relative).split('/')) {
        if (!uri.isEmpty())
            uri += '/';
        uri += part.toPercentEncoding();
    }
    return uri;
}

QByteArray asSarif(const QList<SiteFinding> &findings)
{
    rapidjson::StringBuffer buffer;
    JsonWriter json(buffer);
    json.StartObject();
    json.Key("$schema");
    put(json, "https://json.schemastore.org/sarif-2.1.0.json");
    json.Key("version");
    put(json, "2.1.0");
    json.Key("runs");
    json.StartArray();
    json.StartObject();
    json.Key("tool");
    json.StartObject();
    json.Key("driver");
    json.StartObject();
    json.Key("name");
    put(json, "quillmark-cli");
    json.Key("version");
    put(json, QUILLMARK_VERSION);
    json.Key("informationUri");
    put(json, QUILLMARK_HOME_PAGE);
    json.Key("rules");
    json.StartArray();
    for (const RuleDef &def : checkRules()) {
        json.StartObject();
        json.Key("id");
        put(json, def.id);
        json.Key("shortDescription");
        json.StartObject();
        json.Key("text");
        put(json, def.reason);
        json.EndObject();
        json.Key("defaultConfiguration");
        json.StartObject();
        json.Key("level");
        put(json, sarifLevel(def.severity));
        json.EndObject();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.EndObject();
    json.Key("results");
    json.StartArray();
    for (const SiteFinding &finding : findings) {
        json.StartObject();
        json.Key("ruleId");
        put(json, checkRule(finding.rule).id);
        json.Key("ruleIndex");
        json.Int(static_cast<int>(finding.rule));
        json.Key("level");
        put(json, sarifLevel(finding.severity()));
        json.Key("message");
        json.StartObject();
        json.Key("text");
        put(json, finding.message);
        json.EndObject();
        json.Key("locations");
        json.StartArray();
        json.StartObject();
        json.Key("physicalLocation");
        json.StartObject();
        json.Key("artifactLocation");
        json.StartObject();
        json.Key("uri");
        const QByteArray uri = pageUri(finding.page);
        json.String(uri.constData(), rapidjson::SizeType(uri.size()));
        json.EndObject();
        // Without a region a location is the file as a whole.
        if (finding.line > 0) {
            json.Key("region");
            json.StartObject();
            json.Key("startLine");
            json.Int(finding.line);
            json.EndObject();
        }
        json.EndObject();
        json.EndObject();
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.EndArray();
    json.EndObject();
    return QByteArray(buffer.GetString(), qsizetype(buffer.GetSize())) + '\n';
}

enum class Form { Lines, Json, Sarif };

int check(const QStringList &pages, const QString &limitsFile, Form form)
{
    QString error;
    RuleLimits limits;
    if (!limitsFile.isEmpty()) {
        QByteArray json;
        if (!readInput(limitsFile, LimitsFileLimit, &json, &error))
            return failure(error);
        if (!limits.read(json, displayName(limitsFile), &error))
            return failure(error);
    }
    const std::unique_ptr<TextWidth> width = TextWidth::liberationSans(&error);
    if (!width)
        return failure(error);
    const SiteChecks checks(limits, width.get());

    bool allRead = true;
    QList<SiteFinding> findings;
    QList<PageFacts> facts;
    facts.reserve(pages.size());
    QSet<QByteArray> seen;
    for (const QString &path : pages) {
        // A page named twice would share its title with itself: it is checked once.
        FileKey key;
        if (fileKey(path, &key)) {
            const QByteArray id = QByteArray::number(quint64(key.device)) + ':' +
                                  QByteArray::number(quint64(key.inode)) + ':' + key.name;
            if (seen.contains(id)) {
                warning(path, QStringLiteral("named again; checked once"));
                continue;
            }
            seen.insert(id);
        }
        SitePage page;
        if (!readSitePage(path, &page, &error)) {
            failure(error);
            allRead = false;
            continue;
        }
        facts.append(PageFacts());
        findings << checks.checkPage(path, page, &facts.back());
    }
    findings << checkAcrossPages(facts);
    sortFindings(&findings, pages);

    const QByteArray out = form == Form::Json    ? asJson(findings)
                           : form == Form::Sarif ? asSarif(findings)
                                                 : asLines(findings);
    if (!writeStdout(out, &error))
        return failure(error);
    const bool anError = std::any_of(findings.begin(), findings.end(), [](const SiteFinding &f) {
        return f.severity() == Severity::Error;
    });
    return allRead && !anError ? Done : Failed;
}

// The words of `text` in lines of the help's width, each after `indent`.
QString wrapped(const QString &text, const QString &indent)
{
    QString out;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && indent.size() + line.size() + 1 + word.size() > 78) {
            out += indent + line + QLatin1Char('\n');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return out + indent + line + QLatin1Char('\n');
}

// What a rule finds, as the help and the manual page tell it: its reason, and the
// default limit or the tags it knows.
QString ruleText(const RuleDef &def)
{
    QString text = QLatin1StringView(def.reason);
    if (def.unit == LimitUnit::Pixels)
        text += QStringLiteral(" (limit: %1 px at %2 px)").arg(def.limit).arg(def.pixelSize);
    else if (def.unit == LimitUnit::Characters)
        text += QStringLiteral(" (limit: %1 characters)").arg(def.limit);
    if (def.rule == CheckRule::ObsoleteTag)
        text += QStringLiteral(": ") + obsoleteTagNames().join(QStringLiteral(", "));
    return text;
}

QString ruleList()
{
    QString text;
    for (const RuleDef &def : checkRules())
        text += QStringLiteral("  %1 (%2)\n")
                    .arg(QLatin1StringView(def.id), severityName(def.severity)) +
                wrapped(ruleText(def), QStringLiteral("      "));
    return text;
}

} // namespace

Command checkCommand()
{
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("write JSON Lines, one object a finding"));
    const QCommandLineOption sarif(QStringLiteral("sarif"),
                                   QStringLiteral("write one SARIF 2.1.0 log, as code-scanning "
                                                  "services read"));
    const QCommandLineOption limits(QStringLiteral("limits"),
                                    QStringLiteral("read the site's limits from FILE (JSON, "
                                                   "rule ids as keys)"),
                                    QStringLiteral("FILE"));
    return {
        .name = QStringLiteral("check"),
        .summary = QStringLiteral("find missing, repeated, too long and contradictory tags"),
        .description =
            QStringLiteral(
                "Reads the pages as `table` does and writes a finding a line to standard\n"
                "output: PAGE:LINE: SEVERITY RULE: MESSAGE (a finding about the page as a\n"
                "whole is on line 1); --json writes an object a line with page, line,\n"
                "severity, rule, message and measured (the width in pixels or the length\n"
                "in characters a limit was held against, else null); --sarif one SARIF\n"
                "2.1.0 log. Widths are those of Liberation Sans, which has Arial's, as\n"
                "search results draw titles and descriptions. --limits FILE sets a site's\n"
                "own limits: {\"title-too-long\": 580, \"description-too-short\": 50}.\n"
                "Exits with 1 when a finding is an error or a page cannot be read.\n"
                "\n"
                "Rules:\n%1")
                .arg(ruleList())
                .chopped(1),
        .options = {json, sarif, limits},
        .arguments = {QStringLiteral("PAGE.html...")},
        .run =
            [=](const QCommandLineParser &parser) {
                if (parser.isSet(json) && parser.isSet(sarif))
                    return badUsage(QStringLiteral("--json and --sarif are two forms of one "
                                                   "output; give one."));
                const QStringList pages = parser.positionalArguments();
                const Form form = parser.isSet(json)    ? Form::Json
                                  : parser.isSet(sarif) ? Form::Sarif
                                                        : Form::Lines;
                return check(pages, parser.value(limits), form);
            },
    };
}

} // namespace quill::cli
