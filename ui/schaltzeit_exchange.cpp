#include "ui/schaltzeit_transfer.h"

#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/port_selector.h"
#include "ui/parameter_tab.h"
#include "ui/schedule_controls.h"
#include "ui/schedule_tab.h"

#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace vandorelle {

namespace {

constexpr int kProgressLine = 6; // line 7 of the schedule lists

void showSendLine(TQuorvix *w, const QString &text)
{
    w->schaltzeit->DatenListe_Motor->item(kProgressLine)->setText(text);
}

// The send shows its progress in the motor list only, from its top.
void prepareListsForSend(TQuorvix *w)
{
    w->schaltzeit->MotorButtonClick();
    QListWidget *motor = w->schaltzeit->DatenListe_Motor;
    for (int i = 0; i < 64; ++i)
        motor->item(i)->setText(QString());
    motor->scrollToTop();
    showSendLine(w, SendAllExchange::progressPrefix() + QStringLiteral("Initialisiere Schaltzeiten-Speicher"));
    motor->clearSelection();
}

// An exchange runs: nothing may poll, switch tabs or change the port under it.
void lockWindow(TQuorvix *w, int maximum)
{
    w->transfer->setTransferButtonsEnabled(false);
    w->Parameter_Maske->setEnabled(false);
    w->transfer->Combo_PortNum->setEnabled(false);
    QProgressBar *bar = w->transfer->ProgressBar;
    bar->setRange(0, maximum);
    bar->setValue(0);
    bar->show();
}

void unlockWindow(TQuorvix *w)
{
    QProgressBar *bar = w->transfer->ProgressBar;
    bar->setValue(0);
    bar->hide();
    w->Timer1->start();
    w->Timer3->start();
    w->transfer->showTransferPair(w->session.flags.ConservatoryFamily);
    w->Parameter_Maske->setEnabled(true);
    w->transfer->Combo_PortNum->setEnabled(true);
}

// The counters may outrun the expected totals; a bar ignores values beyond its maximum.
void showProgress(TQuorvix *w, int position)
{
    QProgressBar *bar = w->transfer->ProgressBar;
    bar->setValue(qBound(bar->minimum(), position, bar->maximum()));
}

} // namespace

void TransferPanel::setUpExchange()
{
    TQuorvix *const win = w;

    connect(&win->readAll, &ReadAllExchange::started, this, [win](int maximum) {
        win->schaltzeit->prepareForRead();
        win->parameter->showGroupBank();
        win->Timer1->stop();
        win->Timer3->stop();
        lockWindow(win, maximum);
    });
    connect(&win->readAll, &ReadAllExchange::progress, this, [win](int position) {
        showProgress(win, position);
    });
    connect(&win->readAll, &ReadAllExchange::finished, this,
            [this, win](bool completed, const QString &message) {
                FinishReadAll();
                // Without a message the port's own error box tells what happened.
                if (!completed && !message.isEmpty())
                    ui::showError(win, message);
            });

    win->sendAll.randomSpanCode = [win]() {
        const auto *box = win->parameter
            ? win->parameter->findChild<QComboBox *>(QStringLiteral("ZufallsZeitspanne"))
            : nullptr;
        return box ? box->currentIndex() : -1;
    };
    connect(&win->sendAll, &SendAllExchange::started, this, [win](int maximum) {
        prepareListsForSend(win);
        lockWindow(win, maximum);
    });
    connect(&win->sendAll, &SendAllExchange::batchStarted, this, [win](const QString &caption) {
        showSendLine(win, SendAllExchange::progressPrefix() + caption);
    });
    connect(&win->sendAll, &SendAllExchange::progress, this, [win](int position) {
        showProgress(win, position);
    });
    connect(&win->sendAll, &SendAllExchange::collectGroups, this, [win]() {
        win->parameter->storeGroupBank();
    });
    connect(&win->sendAll, &SendAllExchange::scheduleSent, this, [win]() {
        win->schaltzeit->updateFreeMemory();
    });
    connect(&win->sendAll, &SendAllExchange::finished, this,
            [win](bool completed, const QString &message) {
                showSendLine(win, SendAllExchange::progressPrefix());
                unlockWindow(win);
                win->schaltzeit->redrawAll();
                if (!completed && !message.isEmpty())
                    ui::showError(win, message);
            });
}

void TransferPanel::Read_ButtonClick()
{
    w->readAll.start();
}

void TransferPanel::FinishReadAll()
{
    w->schaltzeit->finishRead();
    unlockWindow(w);
    w->refreshAllViews();
    w->schaltzeit->updateFreeMemory();
}

void TransferPanel::Send_ButtonClick()
{
    if (w->sendAll.start() == SendAllExchange::StartResult::ClockNotSet)
        ui::showInformation(w, SendAllExchange::clockNotSetMessage());
}

} // namespace vandorelle
