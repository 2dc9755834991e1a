#include "app/ProgramCommandLine.h"

#include "app/CommandLineOutput.h"
#include "generated/ProgramIdentity.h"

#include <QCommandLineParser>

namespace {

constexpr int UsageError = 2;

struct ToolkitOption {
    const char* name;
    bool takesValue;
};

// The options the application object and its platform plugin take out of the command line
// (-platform, -style, -display...). They are known here only so that they are not refused.
constexpr ToolkitOption ToolkitOptions[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true}, {"qwindowtitle", true}, {"title", true},
    {"qwindowicon", true}, {"icon", true}, {"session", true}, {"style", true},
    {"stylesheet", true}, {"display", true}, {"name", true}, {"visual", true},
    {"qmljsdebugger", true}, {"reverse", false}, {"testability", false},
    {"widgetcount", false}, {"nograb", false}, {"dograb", false},
};

const char* const Description =
    "Sets up and tests satellite receiving equipment through a serial interface box.\n"
    "Settings: vantorel.ini beside the program when there is one, otherwise\n"
    "~/.config/vantorel/vantorel.ini (section [init]: port, baud, loglines).";

int refuse(const QString& message)
{
    tellCommandLineUser(QStringLiteral("vantorel: %1\nTry 'vantorel --help' for the options.\n").arg(message),
                        CommandLineAnswer::Error);
    return UsageError;
}

} // namespace

std::optional<int> answerCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // The toolkit's options are single-dash words.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const ToolkitOption& toolkit : ToolkitOptions) {
        QCommandLineOption option(QString::fromLatin1(toolkit.name), QString(),
                                  toolkit.takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help)) {
        // With no application object yet, Qt cannot name the program in the usage line.
        const QString text = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                       QStringLiteral("vantorel"));
        tellCommandLineUser(text, CommandLineAnswer::Information);
        return 0;
    }
    if (parser.isSet(version)) {
        tellCommandLineUser(QStringLiteral("vantorel " VANTOREL_VERSION "\n"), CommandLineAnswer::Information);
        return 0;
    }
    return std::nullopt;
}
