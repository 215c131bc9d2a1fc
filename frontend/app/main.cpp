// VELDESK: the desktop front end of the permeameter evaluation system.
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
