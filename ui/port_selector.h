#pragma once

#include "config/settings_file.h"

#include <QComboBox>

namespace vandorelle {

// `Combo_PortNum`: "COM 1" .. "COM 8", then the serial devices present, looked up afresh
// each time the list opens. A chosen device that is away stays in the list as such.
class PortSelector : public QComboBox {
    Q_OBJECT
public:
    explicit PortSelector(QWidget *parent = nullptr);

    PortChoice currentChoice() const;
    // Makes the choice current, adding a device that is not present now.
    void select(const PortChoice &choice);
    // Rebuilds the device part of the list; the current choice stays current.
    void refresh();

    void showPopup() override;

private:
    int indexOf(const PortChoice &choice) const;
};

} // namespace vandorelle
