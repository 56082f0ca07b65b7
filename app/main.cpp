#include "ui/application.h"
#include "ui/main_window.h"
#include "ui/window_style.h"

int main(int argc, char **argv)
{
    vandorelle::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vandorelle"));
    vandorelle::applyWindowFont();
    vandorelle::TQuorvix window;
    window.show();
    return app.exec();
}
