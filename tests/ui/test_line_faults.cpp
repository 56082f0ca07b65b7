#include "support/pty_pair.h"
#include "ui/dialogs.h"
#include "ui/logbook_tab.h"
#include "ui/main_window.h"
#include "ui/manual_control.h"
#include "ui/manual_tab.h"
#include "protocol/read_all.h"
#include "ui/schedule_tab.h"
#include "ui/schaltzeit_transfer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

using namespace vandorelle;

namespace {

bool waitFor(const std::function<bool()> &done, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A line held off by XOFF until the write buffer is full: every handler that writes meets
// "Output buffer is full".
class StalledLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("VANDORELLE_COM1", pty.slavePath().toLocal8Bit());
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
        w = std::make_unique<TQuorvix>();
        w->VaComm1.Buffers().WriteTimeout = 50;
        w->startUp();
        w->Timer1->stop();
        w->Timer3->stop();
        ASSERT_TRUE(w->VaComm1.Active());

        // The XOFF is taken once a character behind it has arrived.
        pty.writeMaster("\x13z");
        ASSERT_TRUE(waitFor([this] { return w->session.RxCount > 0; }));
        ASSERT_TRUE(w->VaComm1.QueueText(QByteArray(std::as_const(w->VaComm1).Buffers().WriteSize, 'x')));
        w->session.noConnection = false;
        w->status.setPanel(StatusModel::Date, QStringLiteral("07.12.26"));
    }
    void TearDown() override
    {
        w.reset();
        ui::resetDialogHooks();
    }

    // A handler run by the event loop, as a click is.
    void fromEventLoop(const std::function<void()> &handler)
    {
        bool ran = false;
        QTimer::singleShot(0, w.get(), [&] {
            ran = true;
            handler();
        });
        waitFor([&] { return ran; });
        QApplication::processEvents();
    }

    test::PtyPair pty;
    std::unique_ptr<TQuorvix> w;
    QStringList errors;
};

TEST_F(StalledLine, EveryHandlerStopsWithOneMessageAndTheWindowKeepsItsData)
{
    w->store.Schaltzeit[10].Zeit = 100;
    w->store.clearAllPending();
    w->store.Beschattung[3].Senden = 1;
    const ConfigStore before = w->store;

    fromEventLoop([this] { w->Parameter_Maske->setCurrentWidget(w->handsteuerung); });
    fromEventLoop([this] {
        QListWidget *hs1 = w->findChild<QListWidget *>(QStringLiteral("HS_1"));
        hs1->setCurrentRow(2);
        emit hs1->itemClicked(hs1->item(2));
    });
    ASSERT_EQ(errors, QStringList{"Output buffer is full. Please check comm status."});

    fromEventLoop([this] { w->Parameter_Maske->setCurrentWidget(w->schaltzeit); });
    fromEventLoop([this] { w->transfer->Send_Button_RS->click(); }); // "Steuerung --> PC"
    fromEventLoop([this] { w->transfer->Read_Button_RS->click(); }); // "PC --> Steuerung"
    fromEventLoop([this] { w->Parameter_Maske->setCurrentWidget(w->logbuch); });
    fromEventLoop([this] { w->logbuch->Logbuch_Button->click(); });

    // One box for the whole stall; the store is as it was and nothing is left half-started.
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(w->store == before);
    EXPECT_FALSE(w->readAll.running());
    EXPECT_FALSE(w->sendAll.running());
    EXPECT_FALSE(w->session.readAllRunning);
    EXPECT_FALSE(w->session.sendInProgress);
    EXPECT_FALSE(w->logbuch->exchange->busy());
    EXPECT_TRUE(w->Parameter_Maske->isEnabled());
    EXPECT_TRUE(w->Timer1->isActive());

    // XON: the buffer drains and the port takes text again.
    pty.writeMaster("\x11");
    qsizetype drained = 0;
    ASSERT_TRUE(waitFor([&] { return (drained += pty.drainMaster().size()) >= std::as_const(w->VaComm1).Buffers().WriteSize; }));
    EXPECT_TRUE(w->session.send(QStringLiteral("sfi\r")));
}

// A line that brings nothing but noise once the exchange has started.
class NoisyLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("VANDORELLE_COM1", pty.slavePath().toLocal8Bit());
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
        w = std::make_unique<TQuorvix>();
        w->startUp();
        ASSERT_TRUE(w->VaComm1.Active());
        w->session.noConnection = false;
        w->readAll.setTimeoutInterval(300);
        w->logbuch->exchange->setSilenceTimeout(300);
    }
    void TearDown() override
    {
        w.reset();
        ui::resetDialogHooks();
    }

    // Junk every 50 ms while the exchange runs; how long it took to end.
    qint64 noiseUntil(const std::function<bool()> &ended)
    {
        QElapsedTimer t;
        t.start();
        while (!ended() && t.elapsed() < 5000) {
            pty.writeMaster("x\x7f?start_");
            waitFor([] { return false; }, 50);
        }
        return t.elapsed();
    }

    test::PtyPair pty;
    std::unique_ptr<TQuorvix> w;
    QStringList errors;
};

TEST_F(NoisyLine, ReadAllAndLogbookEndAfterTheirTimeOutWhateverArrives)
{
    w->store.clearAllPending();
    w->transfer->Send_Button_RS->click(); // "Steuerung --> PC"
    ASSERT_TRUE(w->readAll.running());
    EXPECT_LT(noiseUntil([this] { return !w->readAll.running(); }), 2000);
    EXPECT_EQ(errors, QStringList{ReadAllExchange::timeoutMessage()});
    EXPECT_TRUE(w->store.allPending());
    EXPECT_TRUE(w->Parameter_Maske->isEnabled());

    w->Parameter_Maske->setCurrentWidget(w->logbuch);
    w->logbuch->Logbuch_Button->click();
    ASSERT_TRUE(w->logbuch->exchange->busy());
    EXPECT_LT(noiseUntil([this] { return !w->logbuch->exchange->busy(); }), 2000);
    EXPECT_EQ(w->status.panel(StatusModel::Error), QStringLiteral("Zeitüberschreitung"));
}

} // namespace
