#pragma once

#include <QTextEdit>

namespace vandorelle {

class TQuorvix;

// The read-only help pane floating over the window.
class HelpBox : public QTextEdit {
    Q_OBJECT
public:
    explicit HelpBox(TQuorvix *window);
};

} // namespace vandorelle
