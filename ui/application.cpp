#include "ui/application.h"

#include "link/serial_port.h"
#include "ui/dialogs.h"

namespace vandorelle {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ui::reportHandlerError(e);
    } catch (...) {
        ui::showError(activeWindow(), QStringLiteral("Unbekannter Fehler"));
    }
    return true;
}

namespace ui {

void reportHandlerError(const std::exception &error)
{
    if (const auto *comm = dynamic_cast<const EVaCommError *>(&error)) {
        if (!comm->repeated())
            showError(QApplication::activeWindow(), comm->message());
        return;
    }
    showError(QApplication::activeWindow(), QString::fromLocal8Bit(error.what()));
}

} // namespace ui
} // namespace vandorelle
