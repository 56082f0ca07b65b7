#include "ui/help_box.h"

#include "ui/main_window.h"

namespace vandorelle {

HelpBox::HelpBox(TQuorvix *window)
    : QTextEdit(window)
{
    setObjectName(QStringLiteral("HelpBox"));
    setReadOnly(true);
    hide();
}

} // namespace vandorelle
