#include "config/settings_file.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

// Each test runs the window in a directory of its own, with no real port behind COM 1..8.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        for (int n = 1; n <= 8; ++n)
            qputenv(QStringLiteral("VANDORELLE_COM%1").arg(n).toLatin1(),
                    dir.filePath(QStringLiteral("no-such-port-%1").arg(n)).toLatin1());
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
    }
    void TearDown() override
    {
        QDir::setCurrent(previous);
        for (int n = 1; n <= 8; ++n)
            qunsetenv(QStringLiteral("VANDORELLE_COM%1").arg(n).toLatin1());
        ui::resetDialogHooks();
    }
    void writeSettings(const QByteArray &content)
    {
        QFile f(dir.filePath(kSettingsFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QString panel(TQuorvix &w, int i)
    {
        return w.findChild<QLabel *>(QStringLiteral("StatusBar1_Panel%1").arg(i))->text();
    }

    QTemporaryDir dir;
    QString previous;
    QStringList errors;
};

} // namespace

TEST_F(MainWindow, HasItsEightPagesAndStartUpTexts)
{
    TQuorvix w;
    w.startUp();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vandorelle-E_V7_09"));
    auto *tabs = w.findChild<QTabWidget *>(QStringLiteral("Parameter_Maske"));
    ASSERT_NE(tabs, nullptr);
    const QStringList names = {"Schaltzeit_Maske", "Beschattung_Maske", "Wind_Regen_Maske",
                               "Wintergarten_Maske", "Heizung_Maske", "Handsteuerung_Maske",
                               "Alarm_Logbuch_Maske", "Parameter"};
    const QStringList captions = {"Schaltzeiten", "Beschattung, Dämmerung", "Wind-, Regen-, Feuchte",
                                  "Temperatur-Steuerung", "Heizung",
                                  "Hand-, Tast-, Reversier-Automatik", "Logbuch", " Parameter"};
    ASSERT_EQ(tabs->count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), names[i]);
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    }
    EXPECT_EQ(panel(w, 0), QStringLiteral("Keine Verbindung"));
    EXPECT_EQ(panel(w, 6), QStringLiteral("Freier Schaltzeiten-Speicher: 100%"));
    ASSERT_NE(w.statusBar(), nullptr);
    EXPECT_EQ(w.statusBar()->objectName(), QStringLiteral("StatusBar1"));
    // The port could not be opened: one message, and the window runs on without a line.
    ASSERT_EQ(errors.size(), 1);
    const QString device = dir.filePath(QStringLiteral("no-such-port-1"));
    EXPECT_EQ(errors[0], QStringLiteral("Specified device not found (%1).\nDas Gerät %1 ist nicht vorhanden.\n"
                                        "Abhilfe: den Adapter einstecken oder eine vorhandene Schnittstelle wählen.")
                             .arg(device));
    EXPECT_FALSE(w.VaComm1.Active());
}

TEST_F(MainWindow, SettingsFileChoosesThePort)
{
    writeSettings("3\r\n");
    TQuorvix w;
    w.startUp();
    auto *combo = w.findChild<QComboBox *>(QStringLiteral("Combo_PortNum"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("COM 3"));
    EXPECT_EQ(w.VaComm1.PortNum(), 3);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("no-such-port-3")));
}

TEST_F(MainWindow, UnusableSettingsFileFallsBackToComOne)
{
    for (const QByteArray &content : {QByteArray(), QByteArray("abc\n"), QByteArray("9\n"),
                                     QByteArray("0\n"), QByteArray("-2\n"), QByteArray("\xff\xfe")}) {
        writeSettings(content);
        EXPECT_EQ(readSettings(dir.path()), PortChoice{}) << content.toHex().constData();
    }
    QFile::remove(dir.filePath(kSettingsFileName));
    EXPECT_EQ(readSettings(dir.path()), PortChoice{});
    writeSettings("8");
    EXPECT_EQ(readSettings(dir.path()).portNum, 8);
}

TEST_F(MainWindow, PortChangeResetsTheStatusBarAndMarksEverythingPending)
{
    TQuorvix w;
    w.startUp();
    w.store.clearAllPending();
    w.status.setPanel(StatusModel::Sun, QStringLiteral("Sonne: 99"));
    auto *combo = w.findChild<QComboBox *>(QStringLiteral("Combo_PortNum"));
    combo->setCurrentIndex(4);
    emit combo->activated(4);
    EXPECT_EQ(w.VaComm1.PortNum(), 5);
    EXPECT_EQ(panel(w, 0), QStringLiteral("Keine Verbindung"));
    EXPECT_TRUE(panel(w, 7).isEmpty());
    EXPECT_EQ(w.store.Beschattung[0].Senden, 1);
    EXPECT_EQ(w.store.Schaltzeit[1791].Senden, 1);
}
