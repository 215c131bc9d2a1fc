// VELDESK: the desktop front end of the permeameter evaluation system.
//   veldesk [data-set file]
#include "Form1.h"
#include "icons.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

using namespace veldesk;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELDESK"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(buttonIcon(QStringLiteral("app")));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Evaluates falling-head permeameter readings: field-saturated hydraulic conductivity."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A data set (.pd) to open at start-up."),
                                 QStringLiteral("[file]"));
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
