#include "command_line.h"

#include <QCommandLineParser>

#include "ui/res/strings.h"

namespace veltra {

namespace {

QString text(const char* latin1)
{
    return QString::fromLatin1(latin1);
}

// A usage error: what is wrong, then the whole usage.
CommandLine refused(const QString& why, const QCommandLineParser& parser)
{
    CommandLine line;
    line.exitCode = 2;
    line.standardError = why + QStringLiteral("\n\n") + parser.helpText();
    return line;
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(text(res::commandLineDescription));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, text(res::helpOptionText));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, text(res::versionOptionText));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), text(res::fileArgumentText), QStringLiteral("[FILE]"));

    if (!parser.parse(arguments))
        return refused(parser.errorText(), parser);
    CommandLine line;
    if (parser.isSet(help)) {
        line.exitCode = 0;
        line.standardOutput = parser.helpText();
        return line;
    }
    if (parser.isSet(version)) {
        line.exitCode = 0;
        line.standardOutput = text(res::appName) + QLatin1Char(' ') + text(res::appVersion) + QLatin1Char('\n');
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refused(text(res::oneFileArgumentMessage), parser);
    if (!files.isEmpty())
        line.file = files.front();
    return line;
}

}  // namespace veltra
