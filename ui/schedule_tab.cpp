#include "ui/schedule_tab.h"

#include "ui/main_window.h"
#include "ui/schaltzeit_transfer.h"

#include <QHBoxLayout>

namespace vandorelle {

SchaltzeitTab::SchaltzeitTab(TQuorvix *window)
    : TabPage(window, "Schaltzeit_Maske")
{
    auto *layout = new QHBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(w->transfer);
}

void SchaltzeitTab::prepareForRead() {}
void SchaltzeitTab::showReadProgress(const QString &) {}
void SchaltzeitTab::finishRead() {}
void SchaltzeitTab::redrawAll() {}
void SchaltzeitTab::updateFreeMemory() {}

} // namespace vandorelle
