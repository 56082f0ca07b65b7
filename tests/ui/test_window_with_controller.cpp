// The whole window against the emulated controller on a pseudo-terminal: connection,
// "Steuerung --> PC" and "PC --> Steuerung" through the real buttons, and a silent line.

#include "config/settings_file.h"
#include "config/config_file.h"
#include "support/emulator.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/port_selector.h"
#include "ui/manual_tab.h"
#include "ui/schaltzeit_transfer.h"
#include "ui/schedule_controls.h"
#include "ui/schedule_tab.h"
#include "ui/shading_tab.h"
#include "ui/tab_page.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace vandorelle {
namespace {

using test::Emulator;

constexpr int kBoundMs = 8000;
const QString kPlainModel = QStringLiteral("VC-7000 R---4--- 8M");

bool pumpUntil(const std::function<bool()> &done, int boundMs = kBoundMs)
{
    const QDeadlineTimer deadline(boundMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    return done();
}



// Names travel padded to their field width; the blanks are not part of the name.
ConfigStore withTrimmedNames(ConfigStore s)
{
    for (QString &name : s.MotorNamen) {
        while (name.endsWith(QLatin1Char(' ')))
            name.chop(1);
    }
    return s;
}

// Field-by-field difference of two stores, as the configuration-file lines that differ.
QString storeDifference(const ConfigStore &expected, const ConfigStore &actual)
{
    const ConfigStore e = withTrimmedNames(expected);
    const ConfigStore a = withTrimmedNames(actual);
    if (e == a)
        return {};
    const QList<QByteArray> el = writeConfigFile(e).split('\n');
    const QList<QByteArray> al = writeConfigFile(a).split('\n');
    QStringList out;
    QByteArray section;
    for (qsizetype i = 0; i < std::max(el.size(), al.size()) && out.size() < 12; ++i) {
        const QByteArray x = i < el.size() ? el[i].trimmed() : QByteArray();
        const QByteArray y = i < al.size() ? al[i].trimmed() : QByteArray();
        if (x.startsWith('['))
            section = x;
        if (x != y)
            out << QStringLiteral("%1 expected '%2' got '%3'")
                       .arg(QString::fromLatin1(section), QString::fromLatin1(x), QString::fromLatin1(y));
    }
    if (out.isEmpty())
        out << QStringLiteral("stores differ outside the file's fields (pending flags?)");
    return out.join(QLatin1Char('\n'));
}

// A controller configuration that differs from the start values in every kind of record,
// with schedule entries of each weekday group standing on each of their days.
ConfigStore heldByController()
{
    ConfigStore s;
    const char *names[] = {"Küche", "Wohnzimmer", "Bad oben", "Büro Süd", "Schlafen", "Gäste", "Terrasse", "Flur"};
    for (int m = 0; m < 8; ++m)
        s.MotorNamen[m] = QString::fromUtf8(names[m]);
    for (int m = 0; m < kMotors; ++m) {
        s.Beschattung[m] = {m % 2, 20 + m % 20, 3 + m % 5, 12 + m % 5, 100 + m, 50 + m, 1};
        s.DaemmerungMorgen[m] = {0, m % 8, 30 + m, 10 + m, 1};
        s.DaemmerungAbend[m] = {m % 2, m % 9, 200 - m, 100 + m, 1};
        s.Wind[m] = {0, m % 18, 1};
        s.Regen[m] = {0, m % 2, 1};
        s.Reversierung[m] = {0, m % 40, 40 - m % 40, 1};
        s.TastAutomatik[m] = {0, m % 60, 1};
        s.ProportionaleTemperatursteuerung[m] = {0, 7, 20, 30, 1, 5, 100, 3, 1};
        s.InnenTemperatursteuerung[m] = {0, 1, 40, 1, 35, 120, 6, 22, 1};
        s.HeizungsSteuerung[m] = {0, 1, 1, 200 + m, 120 + m, 1};
        s.FeuchtigkeitsSteuerung[m] = {0, 1, 80, 60, 150, 7, 20, 1};
        s.AussenTemperatursteuerung[m] = {0, 30, 2, 40, 99, 1};
        s.AlarmPattern[m] = m % 3;
    }
    for (int b = 0; b < kBanks; ++b)
        for (int g = 0; g < kGroups; ++g)
            s.GruppenZentralsteuerung[b][g] = (b * 37 + g * 71) % 256;
    s.Parameter = {100, 20, 7, 3, 5};

    auto place = [&s](int motor, int number, SchaltzeitEntry e, std::initializer_list<int> days) {
        for (int d : days)
            s.entry(d, motor, number) = e;
    };
    place(1, 1, {0, timeCode(7, 30), 39, 1, 0, 1}, {1});
    place(1, 2, {1, timeCode(21, 15), 50, 1, 2, 1}, {3});
    place(2, 1, {0, timeCode(6, 45), 20, 7, 1, 1}, {1, 2, 3, 4, 5, 6, 7});
    place(3, 4, {1, timeCode(18, 0), 100, 5, 0, 1}, {1, 2, 3, 4, 5});
    place(4, 8, {0, timeCode(9, 5), 0, 2, 0, 1}, {6, 7});
    place(32, 3, {1, timeCode(23, 59), 126, 1, 1, 1}, {7});
    return s;
}

// The window offscreen in a working directory of its own, its COM1 on the emulator,
// dialogs answered by the test.
class WindowWithController : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
        ui::dialogHooks().information = [this](QWidget *, const QString &text) { errors << text; };
        ui::dialogHooks().question = [this](QWidget *, const QString &text) {
            errors << text;
            return false;
        };
    }

    void TearDown() override
    {
        w.reset();
        emulator.stop();
        ui::resetDialogHooks();
        QDir::setCurrent(m_previousDir);
    }

    // Emulator first: the window opens COM1 during start-up, the emulator's terminal or comPath.
    void startWindow(const QStringList &simOptions = {}, const QString &comPath = {})
    {
        ASSERT_TRUE(emulator.start(QStringList{"--baud", "0"} + simOptions))
            << emulator.lastError().toStdString();
        if (comPath.isEmpty())
            emulator.exportAsComPort(1);
        else
            qputenv("VANDORELLE_COM1", comPath.toLocal8Bit());
        w = std::make_unique<TQuorvix>();
        w->startUp();
        ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    }

    // One poll brings the model string, the next tick evaluates it.
    void connectWindow()
    {
        w->Timer1Timer();
        ASSERT_TRUE(pumpUntil([this] { return w->status.panel(StatusModel::Model) != kKeineVerbindung; }))
            << "no model string from the emulator";
        ASSERT_TRUE(pumpUntil([this] { return !w->status.panel(StatusModel::Date).isEmpty(); }));
        w->Timer1Timer();
        ASSERT_FALSE(w->session.noConnection);
    }

    void startConnected(const QStringList &simOptions = {}, const QString &comPath = {})
    {
        startWindow(simOptions, comPath);
        if (!HasFatalFailure())
            connectWindow();
    }

    QPushButton *readButton() const
    {
        return w->session.flags.ConservatoryFamily ? w->transfer->Send_Button_WS : w->transfer->Send_Button_RS;
    }
    QPushButton *sendButton() const
    {
        return w->session.flags.ConservatoryFamily ? w->transfer->Read_Button_WS : w->transfer->Read_Button_RS;
    }

    void readAllAndWait()
    {
        readButton()->click();
        ASSERT_TRUE(w->readAll.running()) << "the read did not start";
        ASSERT_TRUE(pumpUntil([this] { return !w->readAll.running(); })) << "the read did not end";
    }

    template <class T>
    T *find(const char *name) const
    {
        return w->findChild<T *>(QString::fromLatin1(name));
    }

    // A user's choice: the item becomes current, then the box reports it.
    void choose(const char *combo, int index)
    {
        QComboBox *box = find<QComboBox>(combo);
        ASSERT_NE(box, nullptr) << combo;
        ASSERT_LT(index, box->count()) << combo;
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    bool tabShown(QWidget *page) const
    {
        return w->Parameter_Maske->isTabVisible(w->Parameter_Maske->indexOf(page));
    }

    // What an exchange locks, and what its end must give back.
    void expectLocked(int progressMaximum) const
    {
        for (QPushButton *b : {w->transfer->Send_Button_WS, w->transfer->Read_Button_WS, w->transfer->Send_Button_RS,
                               w->transfer->Read_Button_RS})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_FALSE(w->Parameter_Maske->isEnabled());
        EXPECT_FALSE(w->transfer->Combo_PortNum->isEnabled());
        EXPECT_FALSE(w->transfer->ProgressBar->isHidden());
        EXPECT_EQ(w->transfer->ProgressBar->maximum(), progressMaximum);
    }
    void expectUnlocked() const
    {
        EXPECT_TRUE(w->Timer1->isActive());
        EXPECT_TRUE(w->Timer3->isActive());
        EXPECT_TRUE(readButton()->isEnabled());
        EXPECT_TRUE(sendButton()->isEnabled());
        EXPECT_FALSE(readButton()->isHidden());
        EXPECT_FALSE(sendButton()->isHidden());
        EXPECT_TRUE(w->Parameter_Maske->isEnabled());
        EXPECT_TRUE(w->transfer->Combo_PortNum->isEnabled());
        EXPECT_TRUE(w->transfer->ProgressBar->isHidden());
    }

    QTemporaryDir dir;
    Emulator emulator;
    QStringList errors;
    std::unique_ptr<TQuorvix> w;

private:
    QString m_previousDir;
};

TEST_F(WindowWithController, ConnectionAdaptsTheWindowToTheReportedFamily)
{
    struct Case {
        QString model; // empty: the emulator's own, every family and feature
        bool sunOrConservatory; // the shading and wind pages
        bool conservatory;      // the temperature and heating pages, the WS button pair
    };
    for (const Case &c : {Case{QString(), true, true}, Case{kPlainModel, false, false}}) {
        SCOPED_TRACE(c.model.toStdString());
        startConnected(c.model.isEmpty() ? QStringList{} : QStringList{"--model", c.model});
        if (HasFatalFailure())
            return;

        const QString model = w->statusPanels[StatusModel::Model]->text();
        if (c.model.isEmpty())
            EXPECT_EQ(model.mid(8, 1), "W");
        else
            EXPECT_EQ(model, c.model);
        EXPECT_EQ(w->statusPanels[StatusModel::Firmware]->text(), "V7.090");
        EXPECT_TRUE(w->KeineVerbindung_Label->isHidden());

        const bool shownFor[8] = {true, c.sunOrConservatory, c.sunOrConservatory, c.conservatory,
                                  c.conservatory, true, true, true};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(tabShown(w->pages[i]), shownFor[i]) << w->pages[i]->objectName().toStdString();

        // Only one pair of transfer buttons, enabled.
        EXPECT_EQ(w->transfer->Send_Button_WS->isHidden(), !c.conservatory);
        EXPECT_EQ(w->transfer->Read_Button_WS->isHidden(), !c.conservatory);
        EXPECT_EQ(w->transfer->Send_Button_RS->isHidden(), c.conservatory);
        EXPECT_EQ(w->transfer->Read_Button_RS->isHidden(), c.conservatory);
        EXPECT_TRUE(readButton()->isEnabled());
        EXPECT_TRUE(sendButton()->isEnabled());
        EXPECT_TRUE(QFile::exists(settingsFilePath(dir.path())));
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();

        w.reset();
        emulator.stop();
    }
}

TEST_F(WindowWithController, ReadAllLocksTheWindowAndBringsTheControllersConfiguration)
{
    const ConfigStore held = heldByController();
    const QString stateFile = dir.filePath("held.vsk");
    ASSERT_EQ(saveConfigFile(stateFile, held), QString());
    startConnected({"--state", stateFile});
    if (HasFatalFailure())
        return;

    readButton()->click();
    ASSERT_TRUE(w->readAll.running());
    // Polling and the watchdog would mix their answers into the configuration.
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_FALSE(w->Timer3->isActive());
    expectLocked(19364);

    ASSERT_TRUE(pumpUntil([this] { return !w->readAll.running(); })) << "the read did not end";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    expectUnlocked();
    EXPECT_TRUE(w->status.panel(StatusModel::Error).isEmpty()) << w->status.panel(StatusModel::Error).toStdString();
    EXPECT_TRUE(w->store.nonePending());

    // The section captions of the read give way to the free-memory figure again.
    EXPECT_TRUE(w->statusPanels[StatusModel::Activity]->text().startsWith(QStringLiteral("Freier Schaltzeiten-Speicher: ")))
        << w->statusPanels[StatusModel::Activity]->text().toStdString();

    ConfigStore expected = held;
    expected.clearAllPending();
    EXPECT_EQ(storeDifference(expected, w->store).toStdString(), "");

    // The views show what was read: the schedule editor on Monday and motor 1, its line in
    // the list, and the names on the manual-control page.
    EXPECT_EQ(w->schaltzeit->CB_Raum->currentIndex(), 0);
    EXPECT_EQ(w->schaltzeit->CB_Raum->currentText().trimmed(), held.MotorNamen[0]);
    EXPECT_EQ(w->schaltzeit->copy_from_label->text().trimmed(), held.MotorNamen[0]);
    const QString mondayLine = w->schaltzeit->DatenListe_Motor->item(0)->text();
    EXPECT_TRUE(mondayLine.startsWith(QStringLiteral("Mo  ") + held.MotorNamen[0])) << mondayLine.toStdString();
    EXPECT_TRUE(mondayLine.contains(QStringLiteral("07:30 ^"))) << mondayLine.toStdString();
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(w->handsteuerung->findChild<QLabel *>(QStringLiteral("HS_%1_Label").arg(k + 1))->text().trimmed(),
                  held.MotorNamen[k]);
}

TEST_F(WindowWithController, EditMadeInAComboReachesTheControllerAndComesBack)
{
    startConnected();
    if (HasFatalFailure())
        return;
    readAllAndWait();
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();

    w->Parameter_Maske->setCurrentWidget(w->beschattung);
    choose("BA_Raum", 2);
    const int lux = (w->store.Beschattung[2].Helligkeit + 37) % find<QComboBox>("BA_Lux")->count();
    choose("BA_EIN_AUS", 0);
    choose("BA_Lux", lux);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(w->store.Beschattung[2].Helligkeit, lux);
    ASSERT_EQ(w->store.Beschattung[2].EinAus, 0);
    ASSERT_EQ(w->store.Beschattung[2].Senden, 1);

    sendButton()->click();
    ASSERT_TRUE(w->sendAll.running()) << errors.join('\n').toStdString();
    EXPECT_TRUE(w->session.sendInProgress);
    expectLocked(14472);
    ASSERT_TRUE(pumpUntil([this] { return !w->sendAll.running(); })) << "the send did not end";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(w->status.panel(StatusModel::Error).isEmpty()) << w->status.panel(StatusModel::Error).toStdString();
    expectUnlocked();
    EXPECT_FALSE(w->session.sendInProgress);
    EXPECT_TRUE(w->store.nonePending());

    // Forget the edit locally; the controller has to give it back.
    w->store.Beschattung[2] = BeschattungRecord{};
    w->Parameter_Maske->setCurrentWidget(w->schaltzeit);
    readAllAndWait();
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(w->store.Beschattung[2].Helligkeit, lux);
    EXPECT_EQ(w->store.Beschattung[2].EinAus, 0);

    w->Parameter_Maske->setCurrentWidget(w->beschattung);
    choose("BA_Raum", 2);
    EXPECT_EQ(find<QComboBox>("BA_Lux")->currentIndex(), lux);
}

TEST_F(WindowWithController, SilentControllerEndsEachExchangeWithEverythingPending)
{
    struct Case {
        const char *name;
        int silenceAfter; // frames: the connection takes about ten
        bool read;
    };
    for (const Case &c : {Case{"read", 60, true}, Case{"send", 14, false}}) {
        SCOPED_TRACE(c.name);
        errors.clear();
        startConnected({"--silence-after", QString::number(c.silenceAfter)});
        if (HasFatalFailure())
            return;
        w->readAll.setTimeoutInterval(400);
        w->sendAll.setTimeoutInterval(400);
        w->store.clearAllPending();

        (c.read ? readButton() : sendButton())->click();
        ASSERT_TRUE(c.read ? w->readAll.running() : w->sendAll.running());
        ASSERT_TRUE(pumpUntil([&] { return !w->readAll.running() && !w->sendAll.running(); }));

        const QString expectedText = c.read ? ReadAllExchange::timeoutMessage() : SendAllExchange::timeoutMessage();
        EXPECT_EQ(errors, QStringList{expectedText});
        EXPECT_TRUE(expectedText.contains(QStringLiteral("Steuerung"))) << expectedText.toStdString();
        EXPECT_EQ(w->status.panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
        expectUnlocked();
        EXPECT_FALSE(w->session.sendInProgress);
        EXPECT_TRUE(w->store.allPending());

        w.reset();
        emulator.stop();
    }
}

TEST_F(WindowWithController, VanishedControllerEndsTheReadAtOnceAndIsOpenedAgainWhenBack)
{
    // The emulator's link stands for the adapter's by-id name: the same path after a replug.
    const QString link = dir.filePath("ttyAdapter");
    startConnected({"--silence-after", "60", "--link", link}, link);
    if (HasFatalFailure())
        return;
    w->store.clearAllPending();
    readButton()->click();
    ASSERT_TRUE(w->readAll.running());
    emulator.stop();
    // Long before the ten seconds of silence.
    ASSERT_TRUE(pumpUntil([this] { return !w->readAll.running(); }, 3000));
    EXPECT_EQ(errors, QStringList{ReadAllExchange::lineLostMessage()});
    EXPECT_EQ(w->status.panel(StatusModel::Error), QStringLiteral("Verbindung unterbrochen"));
    EXPECT_EQ(w->status.panel(StatusModel::Model), kKeineVerbindung);
    EXPECT_TRUE(w->store.allPending());
    expectUnlocked();
    ASSERT_TRUE(pumpUntil([this] { return !w->KeineVerbindung_Label->isHidden(); }));
    const ConfigStore kept = w->store;

    // Plugged in again, nobody clicks: polled again within two seconds, connected soon after,
    // without a message for the time it was away.
    ASSERT_TRUE(emulator.start({"--baud", "0", "--link", link})) << emulator.lastError().toStdString();
    QElapsedTimer sinceReturn;
    sinceReturn.start();
    ASSERT_TRUE(pumpUntil([this] { return w->status.panel(StatusModel::Model) != kKeineVerbindung; }));
    EXPECT_LT(sinceReturn.elapsed(), 2000);
    ASSERT_TRUE(pumpUntil([this] { return !w->session.noConnection && w->KeineVerbindung_Label->isHidden(); }));
    EXPECT_TRUE(w->VaComm1.Active());
    EXPECT_TRUE(w->store == kept);
    EXPECT_EQ(errors, QStringList{ReadAllExchange::lineLostMessage()});
    expectUnlocked();
}

} // namespace
} // namespace vandorelle
