#pragma once

#include <QApplication>

#include <exception>

namespace vandorelle {

// The window's application object. An error that escapes a handler (a click, a key, a timer,
// a receive event) is shown in the standard error box and ends only that handler; the window
// keeps running with everything the user has entered.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

namespace ui {
// The standard error box for an error that ended a handler; a write buffer that is still
// full from a stall already reported shows nothing more.
void reportHandlerError(const std::exception &error);
} // namespace ui

} // namespace vandorelle
