// VELDESK: the desktop front end of the permeameter evaluation system.
#include "Form1.h"
#include "icons.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELDESK"));
    QApplication::setWindowIcon(buttonIcon(QStringLiteral("app")));
    Form1 window;
    window.show();
    return app.exec();
}
