#include <QApplication>

#include "ui/veltra_app.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltra"));
    veltra::theApp.InitInstance();
    return veltra::theApp.ExitInstance();
}
