#include "ui/main_window.h"
#include "ui/window_style.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vandorelle"));
    vandorelle::applyWindowFont();
    vandorelle::TQuorvix window;
    window.show();
    return app.exec();
}
