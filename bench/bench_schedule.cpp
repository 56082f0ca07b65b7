// One store click on the schedule page (store, both lists, day bar, memory figure) and the
// redraw of both lists alone, on the real window offscreen.
#include "bench/offscreen_main.h"
#include "config/schedule_items.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/schedule_tab.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

#include <memory>

using namespace vandorelle;

namespace {

std::unique_ptr<TQuorvix> makeWindow()
{
    qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-bench");
    ui::dialogHooks().error = [](auto *, auto &) {};
    auto w = std::make_unique<TQuorvix>();
    w->startUp();
    // A realistic week: three times a day on every motor.
    for (int d = 0; d < kWeekdays; ++d)
        for (int m = 0; m < kMotors; ++m)
            for (int n = 0; n < 3; ++n)
                w->store.Schaltzeit[d * 256 + m * 8 + n] = {n % 2, 300 + 240 * n, 39, 1, 0, 1};
    w->schaltzeit->redrawAll();
    return w;
}

void BM_StoreClick(benchmark::State &state)
{
    auto w = makeWindow();
    SchaltzeitTab *tab = w->schaltzeit;
    int minute = 0;
    for (auto _ : state) {
        minute = minute % 1440 + 1;
        tab->CB_Schaltzeit->setCurrentIndex(minute);
        tab->CB_SchaltzeitClick();
        tab->CB_FunktionChange();
    }
}
BENCHMARK(BM_StoreClick)->Unit(benchmark::kMicrosecond);

void BM_StoreClickAllWeek(benchmark::State &state)
{
    auto w = makeWindow();
    SchaltzeitTab *tab = w->schaltzeit;
    tab->CB_Gruppe->setCurrentIndex(2);
    int minute = 0;
    for (auto _ : state) {
        minute = minute % 1440 + 1;
        tab->CB_Schaltzeit->setCurrentIndex(minute);
        tab->CB_SchaltzeitClick();
        tab->CB_FunktionChange();
    }
}
BENCHMARK(BM_StoreClickAllWeek)->Unit(benchmark::kMicrosecond);

void BM_RedrawListsOneEntryChanged(benchmark::State &state)
{
    auto w = makeWindow();
    int minute = 0;
    for (auto _ : state) {
        minute = minute % 1440 + 1;
        w->store.Schaltzeit[5].Zeit = minute;
        w->schaltzeit->redrawLists();
    }
}
BENCHMARK(BM_RedrawListsOneEntryChanged)->Unit(benchmark::kMicrosecond);

// Worst case: every one of the 485 lines changes (all names differ from the last redraw).
void BM_RedrawListsEveryLineChanged(benchmark::State &state)
{
    auto w = makeWindow();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        for (int m = 0; m < kMotors; ++m)
            w->store.MotorNamen[m] = flip ? QStringLiteral("Raum %1").arg(m) : defaultMotorName(m);
        w->schaltzeit->redrawLists();
    }
}
BENCHMARK(BM_RedrawListsEveryLineChanged)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
