// VELDESK: the desktop front end of the permeameter evaluation system.
//   veldesk [data-set file]
#include "Form1.h"
#include "icons.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstring>

using namespace veldesk;

namespace {

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Evaluates falling-head permeameter readings: field-saturated hydraulic conductivity."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A data set (.pd) to open at start-up."),
                                 QStringLiteral("[file]"));
}

// --help and --version only print: they are answered without a display, on
// standard output and with exit status 0, as on any command line.
bool asksForHelpOrVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    }
    return false;
}

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("VELDESK"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELDESK_VERSION));
}

} // namespace

int main(int argc, char** argv)
{
    if (asksForHelpOrVersion(argc, argv)) {
        QCoreApplication console(argc, argv);
        nameTheProgram();
        QCommandLineParser parser;
        describe(parser);
        parser.process(console); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    nameTheProgram();
    QApplication::setWindowIcon(buttonIcon(QStringLiteral("app")));

    QCommandLineParser parser;
    describe(parser);
    parser.process(app);
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(1);

    Form1 window;
    window.show();
    // Opened once the window is up, so that a message about the file has it to stand on.
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty()) {
        const QString file = QFileInfo(files.first()).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, file] { window.openDataSetFile(file); });
    }
    return app.exec();
}
