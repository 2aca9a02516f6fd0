// quillmark-cli: the program's work on files, without the windows.
// Exit codes: 0 done, 1 the work failed (message on stderr), 2 the command line is wrong.

#include "cli/command.h"

#include "files/file_io.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace quill::cli {
// Each command lives in a file of its own; adding one is a declaration and a row here.
Command generateCommand();
Command showCommand();
Command packCommand();
Command convertCommand();
Command extractCommand();
Command applyCommand();
Command tableCommand();
Command checkCommand();
} // namespace quill::cli

namespace {

using namespace quill::cli;

// In the order the help lists them.
QList<Command> commandTable()
{
    return {generateCommand(), showCommand(),  packCommand(),  convertCommand(),
            extractCommand(),  applyCommand(), tableCommand(), checkCommand()};
}

const QString program = QStringLiteral("quillmark-cli");

QString optionName(const QCommandLineOption &option)
{
    return QStringLiteral("--") + option.names().constFirst();
}

// As the help lists it: "-h, --help".
QString optionLabel(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.prepend((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    return names.join(QStringLiteral(", "));
}

// An argument of the table: "[NAME]" may be left out, "NAME..." given any number of times.
bool isOptional(const QString &argument)
{
    return argument.startsWith(QLatin1Char('['));
}

bool repeats(const QString &argument)
{
    return argument.endsWith(QStringLiteral("..."));
}

QString synopsis(const Command &command)
{
    QString line = program + QLatin1Char(' ') + command.name;
    for (const QCommandLineOption &option : command.options) {
        line += QStringLiteral(" [") + optionName(option);
        if (!option.valueName().isEmpty())
            line += QLatin1Char(' ') + option.valueName();
        line += QLatin1Char(']');
    }
    for (const QString &argument : command.arguments)
        line += QLatin1Char(' ') + argument;
    return line;
}

QString commandUsage(const Command &command)
{
    return QStringLiteral("Usage: ") + synopsis(command) + QLatin1Char('\n');
}

QString companionUsage(const QList<Command> &commands)
{
    QString text;
    for (const Command &command : commands)
        text += (text.isEmpty() ? QStringLiteral("Usage: ") : QStringLiteral("       ")) +
                synopsis(command) + QLatin1Char('\n');
    const QString more = QStringLiteral("       ") + program;
    return text + more + QStringLiteral(" COMMAND --help\n") + more +
           QStringLiteral(" --help | --version\n");
}

// One line of a help's table: the name in a column of its own, then what it does.
QString helpRow(const QString &name, const QString &text)
{
    return QStringLiteral("  ") + name.leftJustified(15) + QLatin1Char(' ') + text +
           QLatin1Char('\n');
}

QString commandHelp(const Command &command, const QCommandLineOption &help)
{
    QString text =
        commandUsage(command) + QLatin1Char('\n') + command.description + QStringLiteral("\n\n");
    for (const QCommandLineOption &option : command.options + QList{help}) {
        const QString value = option.valueName();
        text += helpRow(optionLabel(option) + (value.isEmpty() ? value : QLatin1Char(' ') + value),
                        option.description());
    }
    return text;
}

QString companionHelp(const QList<Command> &commands)
{
    QString text = companionUsage(commands) + QStringLiteral("\nCommands:\n");
    for (const Command &command : commands)
        text += helpRow(command.name, command.summary);
    return text +
           QStringLiteral("\nWhere a command reads a file, - reads standard input; where it writes "
                          "one, - writes\nstandard output.\n") +
           QStringLiteral("\nExits with 0 when done, 1 when the work fails (the message goes to "
                          "standard\nerror, nothing to standard output) and 2 for a wrong command "
                          "line.\n");
}

// Help and version: a full disk or a closed standard output is a failure like any other.
int print(const QString &text)
{
    QString error;
    return quill::writeStdout(text.toUtf8(), &error) ? Done : failure(error);
}

int usageError(const QString &why, const QString &usage)
{
    std::fprintf(stderr, "%s: %s\n%s", program.toUtf8().constData(),
                 quill::displayName(why).toUtf8().constData(), usage.toUtf8().constData());
    return BadUsage;
}

QString versionText()
{
    return QStringLiteral("Quillmark " QUILLMARK_VERSION "\n");
}

// What completion offers for an argument: files with its extension ("PROJECT.qmk"), any
// file, or a command's name; "+" when it may be given any number of times.
QString argumentKind(QString argument)
{
    const bool many = repeats(argument);
    if (many)
        argument.chop(3);
    argument.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    const qsizetype dot = argument.lastIndexOf(QLatin1Char('.'));
    const QString kind = argument == QLatin1StringView("COMMAND") ? QStringLiteral("command")
                         : dot < 0                                ? QStringLiteral("any")
                                                                  : argument.mid(dot + 1);
    return many ? kind + QLatin1Char('+') : kind;
}

// The table of commands as the shells' completions read it: one line for each option,
// command and argument, its fields between tabs, in the order the command line takes them.
//   option    COMMAND  --NAME      DESCRIPTION  (COMMAND quillmark-cli: before any
//                                                 command; "--NAME=" takes a value)
//   command   NAME     SUMMARY
//   argument  COMMAND  KIND                      (as argumentKind gives it)
QString completionTable(const QList<Command> &commands, const QList<QCommandLineOption> &own,
                        const QCommandLineOption &help)
{
    QString table;
    const auto row = [&table](const QStringList &fields) {
        table += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    const auto options = [&row](const QString &command, const QList<QCommandLineOption> &list) {
        for (const QCommandLineOption &option : list) {
            const QString value = option.valueName().isEmpty() ? QString() : QStringLiteral("=");
            row({QStringLiteral("option"), command, optionName(option) + value,
                 option.description()});
        }
    };
    // No field is empty: shells read tabs in a row as one.
    options(program, own);
    for (const Command &command : commands) {
        row({QStringLiteral("command"), command.name, command.summary});
        options(command.name, command.options + QList{help});
        for (const QString &argument : command.arguments)
            row({QStringLiteral("argument"), command.name, argumentKind(argument)});
    }
    return table;
}

// `words` is the command line from the command's name on. The companion's --help and
// --version are understood here too, --help then telling about the command.
int runCommand(const Command &command, const QStringList &words, const QCommandLineOption &help,
               const QCommandLineOption &version)
{
    const auto wrong = [&command](const QString &why) {
        return usageError(why, commandUsage(command));
    };
    QCommandLineParser parser;
    parser.addOptions(command.options);
    parser.addOptions({help, version});
    if (!parser.parse(words))
        return wrong(parser.errorText());
    if (parser.isSet(help))
        return print(commandHelp(command, help));
    if (parser.isSet(version))
        return print(versionText());

    for (const QCommandLineOption &option : command.options) {
        if (option.valueName().isEmpty())
            continue;
        const QStringList values = parser.values(option);
        if (values.size() > 1)
            return wrong(QStringLiteral("Option '%1' given twice.").arg(optionName(option)));
        if (values.contains(QString()))
            return wrong(QStringLiteral("Empty value for '%1'.").arg(optionName(option)));
    }

    const QStringList arguments = parser.positionalArguments();
    const qsizetype wanted = command.arguments.size();
    const qsizetype required = std::count_if(command.arguments.begin(), command.arguments.end(),
                                             [](const QString &a) { return !isOptional(a); });
    const bool repeating = wanted > 0 && repeats(command.arguments.constLast());
    if (arguments.size() < required) {
        QString missing = command.arguments.at(arguments.size());
        if (repeats(missing))
            missing.chop(3);
        return wrong(QStringLiteral("No %1 given.").arg(missing));
    }
    if (arguments.size() > wanted && !repeating)
        return wrong(QStringLiteral("Unexpected argument '%1'.").arg(arguments.at(wanted)));
    const int code = command.run(parser);
    // A command that finds its own line wrong has said why; the usage follows, as above.
    if (code == BadUsage)
        std::fputs(commandUsage(command).toLocal8Bit().constData(), stderr);
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    // A write beyond the file size limit fails with its message instead of ending the
    // program; the file being replaced stays.
    std::signal(SIGXFSZ, SIG_IGN);

    // Names are kept as the bytes given, whatever the locale makes of them.
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << quill::nameFromNative(argv[i]);

    QList<Command> commands = commandTable();
    const QCommandLineOption help({QStringLiteral("help"), QStringLiteral("h")},
                                  QStringLiteral("show this help"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("show the version"));
    QCommandLineOption table(QStringLiteral("completion-table"));
    table.setFlags(QCommandLineOption::HiddenFromHelp);
    commands << Command{
        .name = QStringLiteral("help"),
        .summary = QStringLiteral("tell about a command"),
        .description = QStringLiteral("Tells about COMMAND as COMMAND --help does; alone, lists "
                                      "the commands as --help does."),
        .options = {},
        .arguments = {QStringLiteral("[COMMAND]")},
        .run =
            [&commands, &help](const QCommandLineParser &parser) {
                const QString name = parser.positionalArguments().value(0);
                if (name.isEmpty())
                    return print(companionHelp(commands));
                for (const Command &command : std::as_const(commands)) {
                    if (command.name == name)
                        return print(commandHelp(command, help));
                }
                return badUsage(QStringLiteral("Unknown command '%1'.").arg(name));
            },
    };

    // Only the companion's own options come before the command; the rest is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions({help, version, table});
    if (!parser.parse(words))
        return usageError(parser.errorText(), companionUsage(commands));
    if (parser.isSet(help))
        return print(companionHelp(commands));
    if (parser.isSet(version))
        return print(versionText());
    if (parser.isSet(table))
        return print(completionTable(commands, {help, version}, help));

    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return usageError(QStringLiteral("No command given."), companionUsage(commands));
    for (const Command &command : commands) {
        if (command.name == rest.constFirst())
            return runCommand(command, rest, help, version);
    }
    return usageError(QStringLiteral("Unknown command '%1'.").arg(rest.constFirst()),
                      companionUsage(commands));
}
