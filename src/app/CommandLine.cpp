#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace trv {

namespace {

// The texts of the command line, through the translation.
class CommandLineTexts {
    Q_DECLARE_TR_FUNCTIONS(CommandLineTexts)
public:
    static QString description() {
        return tr("Compose control programs for the TRV device, download them to it over USB and watch it run.\n"
                  "Data files are read from, and the settings kept in, the folder it runs in.");
    }
    static QString fileArgument() { return tr("A control program file (.trvp) to open at start."); }
    static QString helpOption() { return tr("Show this help and end."); }
    static QString versionOption() { return tr("Show the version and end."); }
    static QString oneFile() { return tr("only one program file can be opened at a time"); }
};

} // namespace

QStringList CommandLineArguments(int argc, char** argv) {
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments.append(QString::fromLocal8Bit(argv[k]));
    return arguments;
}

CommandLine ParseCommandLine(const QStringList& arguments, const QString& version, QTextStream& out, QTextStream& err) {
    const QString name = arguments.isEmpty() ? QStringLiteral("trv") : QFileInfo(arguments.first()).fileName();
    QCommandLineParser parser;
    parser.setApplicationDescription(CommandLineTexts::description());
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, CommandLineTexts::helpOption());
    const QCommandLineOption showVersion({QStringLiteral("v"), QStringLiteral("version")},
                                         CommandLineTexts::versionOption());
    parser.addOption(help);
    parser.addOption(showVersion);
    parser.addPositionalArgument(QStringLiteral("FILE"), CommandLineTexts::fileArgument(), QStringLiteral("[FILE]"));

    CommandLine line;
    const auto usage = [&] {
        // Without an application object the parser cannot know the program's name.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), name);
        return text;
    };
    if (!parser.parse(arguments)) {
        err << name << ": " << parser.errorText() << "\n\n" << usage();
        line.exitCode = 2;
        return line;
    }
    if (parser.isSet(help)) {
        out << usage();
        line.exitCode = 0;
        return line;
    }
    if (parser.isSet(showVersion)) {
        out << name << ' ' << version << '\n';
        line.exitCode = 0;
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        err << name << ": " << CommandLineTexts::oneFile() << "\n\n" << usage();
        line.exitCode = 2;
        return line;
    }
    if (!files.isEmpty())
        line.programFile = files.first();
    return line;
}

} // namespace trv
