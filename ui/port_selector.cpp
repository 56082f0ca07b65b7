#include "ui/port_selector.h"

#include "link/port_list.h"

#include <QSignalBlocker>

namespace vandorelle {

namespace {
constexpr int kDeviceRole = Qt::UserRole; // the device path; empty for the numbered ports
}

PortSelector::PortSelector(QWidget *parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("Combo_PortNum"));
    setToolTip(QStringLiteral("Serielle Schnittstelle"));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    for (int n = 1; n <= kComPorts; ++n)
        addItem(comLabel(n), QString());
}

PortChoice PortSelector::currentChoice() const
{
    const int index = currentIndex();
    if (index < kComPorts)
        return {qMax(0, index) + 1, QString()};
    return {1, itemData(index, kDeviceRole).toString()};
}

int PortSelector::indexOf(const PortChoice &choice) const
{
    if (!choice.isDevice())
        return qBound(1, choice.portNum, kComPorts) - 1;
    for (int i = kComPorts; i < count(); ++i) {
        if (itemData(i, kDeviceRole).toString() == choice.devicePath)
            return i;
    }
    return -1;
}

void PortSelector::select(const PortChoice &choice)
{
    int index = indexOf(choice);
    if (index < 0) {
        refresh();
        index = indexOf(choice);
    }
    if (index < 0) {
        addItem(absentDeviceLabel(choice.devicePath), choice.devicePath);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

void PortSelector::refresh()
{
    const PortChoice current = currentChoice();
    const QSignalBlocker quiet(this);
    while (count() > kComPorts)
        removeItem(count() - 1);
    bool currentPresent = !current.isDevice();
    for (const PortEntry &entry : portEntries(serialDevices())) {
        if (!entry.choice.isDevice())
            continue;
        // A device chosen by its node name stays chosen by it.
        const bool isCurrent = current.isDevice()
            && (current.devicePath == entry.choice.devicePath || current.devicePath == entry.path);
        addItem(entry.label, isCurrent ? current.devicePath : entry.choice.devicePath);
        currentPresent = currentPresent || isCurrent;
    }
    if (!currentPresent)
        addItem(absentDeviceLabel(current.devicePath), current.devicePath);
    setCurrentIndex(indexOf(current));
}

void PortSelector::showPopup()
{
    refresh();
    QComboBox::showPopup();
}

} // namespace vandorelle
