#pragma once

#include "protocol/manual_control.h"

#include <QGroupBox>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;

namespace vandorelle {

class TQuorvix;

// The group box `Handsteuerung`: drives motors by hand, eight at a time.
class ManualControl : public QGroupBox {
    Q_OBJECT
public:
    ManualControl(TQuorvix *window, QWidget *parent);

    void startUp();                   // all motors on the stop choice, bank 1
    void Handsteuerung_MaskeEnter();  // the tab was entered
    void Handsteuerung_MaskeExit();   // the tab is left
    void refreshLabels();             // HS_1_Label .. HS_8_Label from the names of the shown bank

    void HandsteuerungEnter();        // the focus moved into the group box
    void HS_Click(int selector);      // HS_1Click .. HS_8Click
    void HS_1Click() { HS_Click(1); }
    void HS_2Click() { HS_Click(2); }
    void HS_3Click() { HS_Click(3); }
    void HS_4Click() { HS_Click(4); }
    void HS_5Click() { HS_Click(5); }
    void HS_6Click() { HS_Click(6); }
    void HS_7Click() { HS_Click(7); }
    void HS_8Click() { HS_Click(8); }
    void HS_Bank_next_Click();
    void ShowManualBank();

    const ManualControlState &state() const { return m_state; }

    std::array<QListWidget *, ManualControlState::kSelectors> HS{};
    std::array<QLabel *, ManualControlState::kSelectors> HS_Label{};
    QPushButton *HS_Bank_next = nullptr;
    QLabel *HS_Bank_Label = nullptr;

protected:
    TQuorvix *const w;

private:
    QListWidget *makeSelector(int selector);
    void send(const QString &text);
    bool contains(const QWidget *widget) const;

    ManualControlState m_state;
    bool m_showing = false;     // rows set from code raise no click
    bool m_focusInside = false;
};

} // namespace vandorelle
