// Choosing a port by name, and what a user is told when it cannot be opened.

#include "link/port_list.h"
#include "link/serial_device.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"

#include "support/pty_pair.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <grp.h>
#include <unistd.h>

using namespace vandorelle;

namespace {

int refusePermission(const char *, int)
{
    errno = EACCES;
    return -1;
}

EVaCommError openFailure(TVaComm &port)
{
    try {
        port.Open();
    } catch (const EVaCommError &e) {
        return e;
    }
    return EVaCommError(QString());
}

const SerialDeviceList kDevices = {
    {"/dev/ttyUSB10", "", "Prolific PL2303"},
    {"/dev/ttyS4", "", ""},
    {"/dev/ttyUSB2", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0", "FTDI FT232R USB UART"},
    {"/dev/ttyACM0", "/dev/serial/by-id/usb-Arduino_Uno_75830-if00", "Arduino Uno"},
    {"/dev/ttyUSB3", "", "Prolific PL2303"},
};

} // namespace

TEST(PortOpenRemedy, EachRefusalSaysWhatToDoBelowThePortsOwnMessage)
{
    // No permission: the group that owns the node, and how to join it.
    QTemporaryDir dir;
    const QString node = dir.filePath("ttyUSB0");
    QFile(node).open(QIODevice::WriteOnly);
    const group *dialout = getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    ASSERT_EQ(::chown(QFile::encodeName(node).constData(), uid_t(-1), dialout->gr_gid), 0);
    const DeviceOpenCall before = setDeviceOpenCall(refusePermission);
    TVaComm port;
    port.setDeviceOverride(node);
    const EVaCommError denied = openFailure(port);
    setDeviceOpenCall(before);
    EXPECT_EQ(denied.message(), QStringLiteral("Can't open specified device %1 (Error 13, Permission denied)").arg(node));
    EXPECT_EQ(denied.text(),
              denied.message()
                  + QStringLiteral("\nKeine Berechtigung für %1: Zugriff haben nur Mitglieder der Gruppe „dialout“.\n"
                                   "Abhilfe: sudo usermod -aG dialout $USER eingeben, dann ab- und wieder anmelden.")
                        .arg(node));
    EXPECT_FALSE(port.Active());

    // Held by another program.
    test::PtyPair pty;
    TVaComm holder, second;
    holder.setDeviceOverride(pty.slavePath());
    holder.Open();
    second.setDeviceOverride(pty.slavePath());
    const EVaCommError busy = openFailure(second);
    EXPECT_TRUE(busy.message().startsWith(QStringLiteral("Can't open specified device ")));
    EXPECT_TRUE(busy.remedy().startsWith(
        QStringLiteral("Das Gerät %1 wird schon von einem anderen Programm benutzt.").arg(pty.slavePath())))
        << busy.text().toStdString();

    // Not there: the port's own message stays first; ENOENT lets a keeper wait for it.
    port.setDeviceOverride(dir.filePath("ttyUSB9"));
    const EVaCommError missing = openFailure(port);
    EXPECT_EQ(missing.message(), QStringLiteral("Specified device not found (%1).").arg(dir.filePath("ttyUSB9")));
    EXPECT_EQ(missing.systemError(), ENOENT);
    EXPECT_TRUE(missing.remedy().contains(QStringLiteral("ist nicht vorhanden")));
}

TEST(PortList, NumberedPortsFirstThenDevicesInNodeOrderWithMakerAndModel)
{
    SerialDeviceList devices = kDevices;
    sortSerialDevices(devices);
    const QList<PortEntry> entries = portEntries(devices);
    QStringList labels;
    for (const PortEntry &e : entries)
        labels << e.label;
    EXPECT_EQ(labels, (QStringList{"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8",
                                   "Arduino Uno (ttyACM0)", "ttyS4", "FTDI FT232R USB UART (ttyUSB2)",
                                   "Prolific PL2303 (ttyUSB3)", "Prolific PL2303 (ttyUSB10)"}));
    // A device is opened by its stable name where it has one.
    EXPECT_EQ(entries[10].choice.devicePath, kDevices[2].byIdPath);
    EXPECT_EQ(entries[9].choice.devicePath, QStringLiteral("/dev/ttyS4"));
    EXPECT_FALSE(entries[0].choice.isDevice());
    EXPECT_EQ(entries[7].choice.portNum, 8);
}

TEST(PortList, EveryNameOfADeviceLeadsToIt)
{
    const auto resolved = [](const QString &name) {
        PortChoice choice;
        QString error;
        if (!resolvePortName(name, [] { return kDevices; }, choice, error))
            return QStringLiteral("error: ") + error;
        return choice.isDevice() ? choice.devicePath : QStringLiteral("COM%1").arg(choice.portNum);
    };
    const QString ftdi = kDevices[2].byIdPath;
    for (const QString &name : {ftdi, QStringLiteral("usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0"),
                               QStringLiteral("ttyUSB2"), QStringLiteral("FTDI FT232R USB UART (ttyUSB2)"),
                               QStringLiteral("FTDI FT232R USB UART")})
        EXPECT_EQ(resolved(name), ftdi) << name.toStdString();
    // A path stays the path given; the keeper finds its by-id name for re-opening.
    EXPECT_EQ(resolved("/dev/ttyUSB2"), "/dev/ttyUSB2");
    EXPECT_EQ(resolved("/dev/pts/7"), "/dev/pts/7");
    EXPECT_EQ(resolved(" com 3"), "COM3");
    EXPECT_TRUE(resolved("COM9").startsWith("error: --port COM9: only COM1 .. COM8 exist"));
    EXPECT_TRUE(resolved("Prolific PL2303").contains("2 devices have this description"));
    EXPECT_EQ(resolved("ttyUSB3"), "/dev/ttyUSB3");
    EXPECT_TRUE(resolved("ttyUSB7").contains("no serial device of that name"));
    EXPECT_TRUE(resolved("").startsWith("error: "));
}

TEST(PortList, ByIdNameIsFoundForTheNodeItLeadsTo)
{
    QTemporaryDir dir;
    const QString node = dir.filePath("ttyUSB0");
    QFile(node).open(QIODevice::WriteOnly);
    QDir(dir.path()).mkdir("by-id");
    const QString link = dir.filePath("by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0");
    ASSERT_TRUE(QFile::link(node, link));
    EXPECT_EQ(byIdPathFor(node, dir.filePath("by-id")), link);
    EXPECT_EQ(byIdPathFor(link, dir.filePath("by-id")), link);
    EXPECT_EQ(byIdPathFor(dir.filePath("ttyUSB1"), dir.filePath("by-id")), QString());
}
