#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vandorelle {

class PortSelector;
class TQuorvix;

// The groups "Datenaustausch", "Sicherung auf Datenträger" and "Port" and the line-error
// label `Label21` of the "Schaltzeiten" page. The handlers live in files of their own:
// schaltzeit_exchange.cpp (read-all, send-all), schaltzeit_file.cpp (configuration file),
// schaltzeit_transfer.cpp (port choice).
class TransferPanel : public QWidget {
    Q_OBJECT
public:
    explicit TransferPanel(TQuorvix *window);

    QGroupBox *Datenaustausch = nullptr;
    QPushButton *Send_Button_WS = nullptr; // "Steuerung --> PC"
    QPushButton *Read_Button_WS = nullptr; // "PC --> Steuerung"
    QPushButton *Send_Button_RS = nullptr;
    QPushButton *Read_Button_RS = nullptr;
    QGroupBox *Sicherung = nullptr;
    QPushButton *SaveToDisk_Button = nullptr;
    QPushButton *Read_From_Disk = nullptr;
    QGroupBox *PortGroup = nullptr;
    PortSelector *Combo_PortNum = nullptr; // "COM 1" .. "COM 8", then the devices present
    QProgressBar *ProgressBar = nullptr;
    QLabel *Label21 = nullptr;

    // Enables or disables the four transfer buttons together.
    void setTransferButtonsEnabled(bool enabled);
    // Shows the WS pair for conservatory controllers, the RS pair otherwise, and enables it.
    void showTransferPair(bool conservatory);

    // Read-all ("Steuerung --> PC") and send-all ("PC --> Steuerung").
    void Read_ButtonClick();
    void FinishReadAll();
    void Send_ButtonClick();
    // Configuration file.
    void SaveToDisk_ButtonClick();
    void Read_From_DiskClick();
    // Port choice.
    void Combo_PortNumChange();

private:
    void setUpExchange(); // connects the exchanges' announcements (schaltzeit_exchange.cpp)
    TQuorvix *const w;
};

} // namespace vandorelle
