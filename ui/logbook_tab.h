#pragma once

#include "protocol/logbook_exchange.h"
#include "ui/tab_page.h"

class QListWidget;
class QProgressBar;
class QPushButton;

namespace vandorelle {

// Page "Alarm_Logbuch_Maske": logbook display and export.
class LogbuchTab : public TabPage {
    Q_OBJECT
public:
    explicit LogbuchTab(TQuorvix *window);

    void startUp() override;

    void Logbuch_ButtonClick();
    void Logbuch_AnfangClick();
    void Logbuch_LoeschenClick();
    void Logbuch_save_ButtonClick();

    QListWidget *LB = nullptr;
    QProgressBar *LogbuchProgressBar = nullptr;
    QPushButton *Logbuch_Button = nullptr;
    QPushButton *Logbuch_Anfang = nullptr;
    QPushButton *Logbuch_Loeschen = nullptr;
    QPushButton *Logbuch_save_Button = nullptr;
    QPushButton *Help_Logbuch = nullptr;

    LogbookExchange *exchange = nullptr;

private:
    void onStarted(LogbookExchange::Operation operation);
    void onFinished(LogbookExchange::Operation operation, LogbookExchange::Outcome outcome,
                    const QString &message);
    void setTransferControlsEnabled(bool enabled);
};

} // namespace vandorelle
