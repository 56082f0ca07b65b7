#include "config/settings_file.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/port_selector.h"
#include "ui/schaltzeit_transfer.h"
#include "ui/shape_widget.h"
#include "ui/tab_page.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace vandorelle {
namespace {

QByteArray frame(const char *tag, const QString &payload)
{
    return QByteArray("start_") + tag + payload.toLatin1() + "ende_";
}

// Characters 9, 13, 14, 15, 16 carry the family.
QString modelString(char c9, char c13, char c14, char c15, char c16)
{
    return QStringLiteral("QRX-RS-0") + QChar(c9) + QStringLiteral("000") + QChar(c13) + QChar(c14) + QChar(c15)
        + QChar(c16);
}

// The window offscreen on a port that does not exist, in a working directory of its own,
// answering dialogs instead of a user.
class SupervisorWindow : public ::testing::Test {
protected:
    SupervisorWindow()
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-supervisor-port");
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
        w = std::make_unique<TQuorvix>();
        w->startUp();
        errors.clear(); // the missing port
    }
    ~SupervisorWindow() override
    {
        w.reset();
        ui::resetDialogHooks();
        QDir::setCurrent(m_previousDir);
    }

    void answer(const char *tag, const QString &payload)
    {
        const QByteArray bytes = frame(tag, payload);
        w->session.receive(bytes, int(bytes.size()));
    }
    void connect(const QString &model, const QString &firmware = QStringLiteral("7.090"))
    {
        answer("sfi", firmware);
        answer("smo", model);
        w->Timer1Timer();
    }
    bool tabShown(QWidget *page) const
    {
        return w->Parameter_Maske->isTabVisible(w->Parameter_Maske->indexOf(page));
    }
    // A family control: the page's own when it is built already, else a stand-in.
    QWidget *control(const char *name)
    {
        if (auto *existing = w->findChild<QWidget *>(QString::fromLatin1(name)))
            return existing;
        auto *box = new QGroupBox(w->pages[7]);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    }

    QTemporaryDir dir;
    QStringList errors;
    std::unique_ptr<TQuorvix> w;

private:
    QString m_previousDir;
};

TEST_F(SupervisorWindow, UnconnectedWindowPollsAndShowsTheLabel)
{
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_TRUE(w->Timer3->isActive());
    EXPECT_FALSE(w->DCF77_LED_Timer->isActive());
    QWidget *logbook = control("Logbuch_Button");
    w->Timer1Timer();
    EXPECT_EQ(w->statusPanels[StatusModel::Model]->text(), "Keine Verbindung");
    EXPECT_EQ(w->statusPanels[StatusModel::Transmitted]->text(), "TxD: 20");
    EXPECT_FALSE(w->KeineVerbindung_Label->isHidden());
    EXPECT_FALSE(logbook->isEnabled());
    EXPECT_EQ(w->Dot->brush(), QColor(Qt::red));
    EXPECT_FALSE(QFile::exists(settingsFilePath(dir.path())));
}

TEST_F(SupervisorWindow, FullFamilyShowsEverythingAndTheConservatoryPair)
{
    QWidget *gzs = control("GroupBox_GZS");
    QWidget *alarm = control("GroupBox_AlarmSetUp");
    QWidget *bank = control("GZ_Bank_next");
    QWidget *logbook = control("Logbuch_Button");
    connect(modelString('W', '9', 'S', 'T', 'G'));

    for (QWidget *page : w->pages)
        EXPECT_TRUE(tabShown(page)) << page->objectName().toStdString();
    EXPECT_FALSE(w->transfer->Send_Button_WS->isHidden());
    EXPECT_FALSE(w->transfer->Read_Button_WS->isHidden());
    EXPECT_TRUE(w->transfer->Send_Button_RS->isHidden());
    EXPECT_TRUE(w->transfer->Read_Button_RS->isHidden());
    EXPECT_TRUE(w->transfer->Send_Button_WS->isEnabled());
    EXPECT_FALSE(gzs->isHidden());
    EXPECT_FALSE(alarm->isHidden());
    EXPECT_FALSE(bank->isHidden());
    EXPECT_TRUE(logbook->isEnabled());
    EXPECT_TRUE(w->KeineVerbindung_Label->isHidden());
    EXPECT_TRUE(w->URL_Label->text().contains("wintergarten"));
    EXPECT_EQ(w->Dot->brush(), QColor(255, 0, 255));
    EXPECT_EQ(w->Dot->shape(), ShapeWidget::Shape::Circle);
    w->Timer1Timer();
    EXPECT_EQ(w->Dot->brush(), QColor(Qt::red));
    EXPECT_EQ(w->Dot->shape(), ShapeWidget::Shape::Rectangle);

    QFile ini(settingsFilePath(dir.path()));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll().trimmed(), "1");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SupervisorWindow, SmallRollerShutterModelHidesWhatItLacks)
{
    QWidget *gzs = control("GroupBox_GZS");
    QWidget *sensors = control("GroupBox_SensorTypen");
    QWidget *bank = control("HS_Bank_next");
    QWidget *list = control("DatenListe_Tag");
    connect(modelString('W', '9', 'S', 'T', 'G'));
    connect(modelString('R', '4', '-', '-', '-'));

    EXPECT_TRUE(tabShown(w->pages[0]));
    for (int hidden : {1, 2, 3, 4})
        EXPECT_FALSE(tabShown(w->pages[hidden])) << hidden;
    for (int shown : {5, 6, 7})
        EXPECT_TRUE(tabShown(w->pages[shown])) << shown;
    EXPECT_TRUE(w->transfer->Send_Button_WS->isHidden());
    EXPECT_FALSE(w->transfer->Send_Button_RS->isHidden()); // shown again after a conservatory controller
    EXPECT_FALSE(w->transfer->Read_Button_RS->isHidden());
    EXPECT_TRUE(gzs->isHidden());
    EXPECT_TRUE(sensors->isHidden());
    EXPECT_TRUE(bank->isHidden());
    EXPECT_EQ(list->width(), 447);
    EXPECT_TRUE(w->URL_Label->text().contains("rollladen"));

    // Radio push-buttons: no alarm set-up, push-button group shown.
    QWidget *alarm = control("GroupBox_AlarmSetUp");
    QWidget *tast = control("GroupBox_Tast_Automatik");
    connect(modelString('R', '9', 'S', 'F', '-'));
    EXPECT_TRUE(alarm->isHidden());
    EXPECT_FALSE(tast->isHidden());
    EXPECT_FALSE(bank->isHidden());
    EXPECT_TRUE(tabShown(w->pages[1]));
    EXPECT_FALSE(tabShown(w->pages[3]));
}

TEST_F(SupervisorWindow, OldFirmwareEndsTheProgramAfterItsMessage)
{
    w->show();
    connect(modelString('W', '9', 'S', 'T', 'G'), QStringLiteral("6.990"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "   Diese Version von Vandorelle kann ausschließlich für \n"
                         "Steuerungen mit Firmware V7.000 oder höher verwendet werden.\n");
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(SupervisorWindow, TimeSignalModeEndsWhenTheParameterPageIsLeft)
{
    w->Parameter_Maske->setCurrentWidget(w->pages[7]);
    w->DCF77ButtonClick();
    EXPECT_TRUE(w->DCF77_LED_Timer->isActive());
    EXPECT_FALSE(w->Timer1->isActive());
    w->Parameter_Maske->setCurrentWidget(w->pages[0]);
    EXPECT_FALSE(w->DCF77_LED_Timer->isActive());
    EXPECT_TRUE(w->Timer1->isActive());
}

TEST_F(SupervisorWindow, PortChangeForgetsTheConnection)
{
    connect(modelString('R', '9', 'S', '-', '-'));
    w->store.clearAllPending();
    w->transfer->Combo_PortNum->setCurrentIndex(1);
    w->transfer->Combo_PortNumChange();
    EXPECT_EQ(w->statusPanels[StatusModel::Model]->text(), "Keine Verbindung");
    EXPECT_EQ(w->statusPanels[StatusModel::Firmware]->text(), "");
    EXPECT_FALSE(w->session.firmwareKnown);
    EXPECT_EQ(w->store.Wind[5].Senden, 1);
    w->Timer1Timer();
    EXPECT_FALSE(w->KeineVerbindung_Label->isHidden());
}

} // namespace
} // namespace vandorelle
