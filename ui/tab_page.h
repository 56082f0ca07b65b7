#pragma once

#include <QWidget>

namespace vandorelle {

class TQuorvix;

// One page of the tab control. The window calls these at start-up, when the user
// enters or leaves the page, and after the whole store changed (read-all, file load).
class TabPage : public QWidget {
    Q_OBJECT
public:
    TabPage(TQuorvix *window, const char *objectName);

    virtual void startUp() {}   // start state after the store was reset
    virtual void enter() {}     // the page became the current one (X_MaskeEnter)
    virtual void leave() {}     // the page stops being the current one (X_MaskeExit)
    virtual void refresh() {}   // redraw everything from the store

protected:
    TQuorvix *const w;
};

} // namespace vandorelle
