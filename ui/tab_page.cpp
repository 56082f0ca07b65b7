#include "ui/tab_page.h"

namespace vandorelle {

TabPage::TabPage(TQuorvix *window, const char *objectName)
    : w(window)
{
    setObjectName(QString::fromLatin1(objectName));
}

} // namespace vandorelle
