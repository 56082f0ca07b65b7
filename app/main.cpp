#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vandorelle"));
    vandorelle::TQuorvix window;
    window.show();
    return app.exec();
}
