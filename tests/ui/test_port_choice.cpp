// The port selector with the serial devices present, what it says when a device cannot be
// opened, and where the window keeps its settings and opens its file dialogs.

#include "config/settings_file.h"
#include "link/serial_device.h"
#include "link/serial_devices.h"
#include "support/emulator.h"
#include "ui/dialogs.h"
#include "ui/logbook_tab.h"
#include "ui/main_window.h"
#include "ui/port_selector.h"
#include "ui/schaltzeit_transfer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

namespace vandorelle {
namespace {

bool pumpUntil(const std::function<bool()> &done, int boundMs = 8000)
{
    const QDeadlineTimer deadline(boundMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    return done();
}

int refusePermission(const char *, int)
{
    errno = EACCES;
    return -1;
}

// The window in a working directory of its own, no device behind COM 1, the devices the
// test says are present.
class PortChoiceWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        qputenv("VANDORELLE_COM1", dir.filePath("no-such-port").toLocal8Bit());
        setSerialDeviceSource([this] { return present; });
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
    }
    void TearDown() override
    {
        w.reset();
        setSerialDeviceSource({});
        ui::resetDialogHooks();
        QDir::setCurrent(previous);
    }
    void startWindow()
    {
        w = std::make_unique<TQuorvix>();
        w->startUp();
        errors.clear();
    }
    PortSelector *combo() const { return w->transfer->Combo_PortNum; }
    QStringList items() const
    {
        QStringList texts;
        for (int i = 0; i < combo()->count(); ++i)
            texts << combo()->itemText(i);
        return texts;
    }
    // The user opens the list and picks the line with this text.
    void chooseLine(const QString &text)
    {
        combo()->showPopup();
        combo()->hidePopup();
        const int index = combo()->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo()->setCurrentIndex(index);
        emit combo()->activated(index);
    }

    QTemporaryDir dir;
    QString previous;
    SerialDeviceList present;
    QStringList errors;
    std::unique_ptr<TQuorvix> w;
};

const QStringList kComLines{"COM 1", "COM 2", "COM 3", "COM 4", "COM 5", "COM 6", "COM 7", "COM 8"};

TEST_F(PortChoiceWindow, ListShowsTheNumberedPortsThenTheDevicesPresentEachTimeItOpens)
{
    present = {{"/dev/ttyUSB1", "", "Prolific PL2303"},
               {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0", "FTDI FT232R USB UART"},
               {"/dev/ttyS0", "", ""}};
    startWindow();
    EXPECT_EQ(items(), kComLines); // looked up when the list opens, not before
    combo()->showPopup();
    combo()->hidePopup();
    EXPECT_EQ(items(), (kComLines + QStringList{"ttyS0", "FTDI FT232R USB UART (ttyUSB0)", "Prolific PL2303 (ttyUSB1)"}));
    EXPECT_EQ(combo()->currentText(), "COM 1");

    // The chosen adapter is pulled: it stays chosen and says so; a new one appears in order.
    chooseLine("FTDI FT232R USB UART (ttyUSB0)");
    EXPECT_EQ(w->VaComm1.DeviceName(), "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0");
    present = {{"/dev/ttyUSB1", "", "Prolific PL2303"}, {"/dev/ttyACM0", "", "Arduino Uno"}};
    combo()->showPopup();
    combo()->hidePopup();
    EXPECT_EQ(items(), (kComLines + QStringList{"Arduino Uno (ttyACM0)", "Prolific PL2303 (ttyUSB1)",
                                                "usb-FTDI_FT232R_USB_UART_A1-if00-port0 (nicht angeschlossen)"}));
    EXPECT_EQ(combo()->currentChoice().devicePath, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0");
}

TEST_F(PortChoiceWindow, ADeviceWithoutPermissionShowsTheRemedy)
{
    const QString node = dir.filePath("ttyUSB0");
    QFile(node).open(QIODevice::WriteOnly);
    present = {{node, "", "FTDI FT232R USB UART"}};
    startWindow();
    const DeviceOpenCall before = setDeviceOpenCall(refusePermission);
    chooseLine("FTDI FT232R USB UART (ttyUSB0)");
    setDeviceOpenCall(before);
    ASSERT_EQ(errors.size(), 1);
    const QStringList lines = errors[0].split(u'\n');
    ASSERT_EQ(lines.size(), 3) << errors[0].toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Can't open specified device %1 (Error 13, Permission denied)").arg(node));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Keine Berechtigung für %1").arg(node)));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("usermod -aG ")) && lines[2].contains("$USER"));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("dann ab- und wieder anmelden.")));
    EXPECT_FALSE(w->VaComm1.Active());
    EXPECT_EQ(w->status.panel(StatusModel::Model), kKeineVerbindung);
}

TEST_F(PortChoiceWindow, ADeviceChosenByPathIsOpenedAgainAfterARestart)
{
    const QString link = dir.filePath("ttyAdapter");
    test::Emulator emulator;
    ASSERT_TRUE(emulator.start({"--baud", "0", "--link", link})) << emulator.lastError().toStdString();
    present = {{link, "", "Emulierte Steuerung"}};
    startWindow();
    chooseLine("Emulierte Steuerung (ttyAdapter)");
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    w->Timer1Timer();
    ASSERT_TRUE(pumpUntil([this] { return w->status.panel(StatusModel::Model) != kKeineVerbindung; }));
    w->Timer1Timer(); // the first connection writes the settings file
    ASSERT_FALSE(w->session.noConnection);
    EXPECT_FALSE(QFile::exists(dir.filePath(kSettingsFileName)));
    EXPECT_EQ(readSettings(dir.path()), (PortChoice{1, link}));

    w.reset();
    startWindow();
    EXPECT_EQ(combo()->currentText(), "Emulierte Steuerung (ttyAdapter)");
    EXPECT_TRUE(w->VaComm1.Active());
    EXPECT_EQ(w->VaComm1.DeviceName(), link);
}

TEST_F(PortChoiceWindow, FileDialogsStartInTheFolderLastUsedElseInDocuments)
{
    startWindow();
    QStringList openedIn;
    QString answer;
    ui::dialogHooks().chooseFile = [&](QFileDialog *dialog) {
        openedIn << dialog->objectName() + u' ' + dialog->directory().absolutePath();
        return answer;
    };
    ui::dialogHooks().information = [](QWidget *, const QString &) {};
    ui::dialogHooks().question = [](QWidget *, const QString &) { return true; };
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(documents).exists())
        documents = QDir::homePath();
    documents = QDir(documents).absolutePath();

    QTemporaryDir elsewhere;
    answer = elsewhere.filePath("anlage.vsk");
    w->transfer->SaveToDisk_Button->click();
    answer.clear(); // cancelled: the folder stays the last one used
    w->transfer->Read_From_Disk->click();
    w->transfer->SaveToDisk_Button->click();
    w->logbuch->Logbuch_save_ButtonClick();
    EXPECT_EQ(openedIn, (QStringList{"SaveDialog1 " + documents, "OpenDialog1 " + elsewhere.path(),
                                     "SaveDialog1 " + elsewhere.path(), "SaveDialog_Logbuch " + documents}));
}

} // namespace
} // namespace vandorelle
