#pragma once

#include "config/store.h"
#include "link/port_keeper.h"
#include "link/serial_port.h"
#include "link/supervisor.h"
#include "protocol/read_all.h"
#include "protocol/send_all.h"
#include "protocol/sensor_recorder.h"
#include "protocol/session.h"
#include "protocol/status_model.h"

#include <QMainWindow>

#include <array>

class QFileDialog;
class QHBoxLayout;
class QLabel;
class QTabWidget;
class QTimer;

namespace vandorelle {

class BeschattungTab;
class HandsteuerungTab;
class HeizungTab;
class HelpBox;
class LogbuchTab;
class ParameterTab;
class SchaltzeitTab;
class ShapeWidget;
class TabPage;
class TransferPanel;
class WindRegenTab;
class WintergartenTab;

// The one window: owns the store, the serial port, the timers and the eight tab pages.
class TQuorvix : public QMainWindow {
    Q_OBJECT
public:
    explicit TQuorvix(QWidget *parent = nullptr);
    ~TQuorvix() override;

    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    TVaComm VaComm1;
    PortKeeper portKeeper{VaComm1}; // opens the chosen port; re-opens a device that comes back
    Supervisor supervisor{session}; // poll, watchdog, firmware check, device family
    ReadAllExchange readAll{session};  // "Steuerung --> PC"
    SendAllExchange sendAll{session};  // "PC --> Steuerung"
    SensorRecorder sensorRecorder{session}; // the last 24 hours of sensor answers

    QTimer *Timer1 = nullptr;          // 900 ms poll
    QTimer *Timer3 = nullptr;          // 2500 ms link watchdog
    QTimer *DCF77_LED_Timer = nullptr; // 100 ms time-signal poll

    QFileDialog *SaveDialog1 = nullptr;
    QFileDialog *OpenDialog1 = nullptr;
    QFileDialog *SaveDialog_Logbuch = nullptr;
    // The folders the dialogs open in: last used in this run (configuration files share one).
    QString configFileFolder;
    QString logbookFolder;

    // Fixed top area
    QLabel *Label9 = nullptr;
    ShapeWidget *Dot = nullptr;
    std::array<ShapeWidget *, 4> Shapes{}; // Shape1 .. Shape4
    QLabel *KeineVerbindung_Label = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *URL_Label = nullptr;
    QLabel *Speicherplatz_Label = nullptr;
    HelpBox *helpBox = nullptr;

    QTabWidget *Parameter_Maske = nullptr;
    TransferPanel *transfer = nullptr;
    SchaltzeitTab *schaltzeit = nullptr;
    BeschattungTab *beschattung = nullptr;
    WindRegenTab *windRegen = nullptr;
    WintergartenTab *wintergarten = nullptr;
    HeizungTab *heizung = nullptr;
    HandsteuerungTab *handsteuerung = nullptr;
    LogbuchTab *logbuch = nullptr;
    ParameterTab *parameter = nullptr;
    std::array<TabPage *, 8> pages{};
    std::array<QLabel *, StatusModel::kPanels> statusPanels{};

    QString programDirectory;

    // Start-up initialisation; runs once, on first activation (or when a test calls it).
    void startUp();
    // After the whole store changed (read-all end, file load): every page redraws.
    void refreshAllViews();
    // Close, choose the port of Combo_PortNum, 9600 8N1, open. A port change also marks
    // everything pending and resets the status bar.
    void reopenPort(bool portChange);
    // Shows/hides a tab page, keeping its position.
    void setPageVisible(TabPage *page, bool visible);

    // The chosen device is open again after it was away: poll at once.
    void portBack();

    // Handlers of the serial port's events.
    void VaComm1RxChar(int count);
    void VaComm1Error(int errors);
    void Parameter_MaskeChange(int index);

    // Connection supervisor (the work is done by `supervisor`).
    void Timer1Timer();
    void Timer3Timer();
    void DCF77ButtonClick();
    void DCF77_LED_TimerTimer();
    // Old firmware: the message, then the program ends.
    void refuseFirmware(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QHBoxLayout *buildTopArea(QWidget *central);
    void buildStatusBar();
    void buildDialogs();
    void connectSupervisor();
    bool m_startedUp = false;
    int m_currentPage = 0;
};

} // namespace vandorelle
