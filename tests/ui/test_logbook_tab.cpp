#include "support/fake_port.h"
#include "ui/dialogs.h"
#include "ui/logbook_tab.h"
#include "ui/main_window.h"

#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace vandorelle;

namespace {

QString entryPayload(std::vector<int> values)
{
    values.push_back(std::accumulate(values.begin(), values.end(), 0));
    QString out;
    for (int v : values)
        out += QString::number(v) + ',';
    return out;
}

QString entry(int number, int cause = 1) { return entryPayload({number, 2, 1, 7, 12, cause, 6, 30, 0}); }
const QString kEndMarker = entryPayload({9999, 1, 0, 0, 0, 0, 0, 0, 0});

const char *const kButtons[] = {"Logbuch_Button", "Logbuch_Anfang", "Logbuch_Loeschen", "Logbuch_save_Button"};

struct Headless {
    Headless()
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-test-port");
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
    }
    ~Headless() { ui::resetDialogHooks(); }
    QStringList errors;
};

class LogbookWindow : public ::testing::Test {
protected:
    LogbookWindow()
    {
        w.startUp();
        w.session.setPort(&port);
        tab = w.logbuch;
        headless.errors.clear();
    }

    QPushButton *button(const char *name) { return w.findChild<QPushButton *>(name); }
    void frame(const QString &tag, const QString &payload) { emit w.session.frameHandled(tag, payload, true); }
    std::vector<bool> buttonsEnabled()
    {
        std::vector<bool> out;
        for (const char *name : kButtons)
            out.push_back(button(name)->isEnabled());
        return out;
    }
    bool timersRunning() { return w.Timer1->isActive() && w.Timer3->isActive(); }
    bool idle() { return timersRunning() && w.Parameter_Maske->isEnabled() && buttonsEnabled() == kAll; }
    bool suspended()
    {
        return !w.Timer1->isActive() && !w.Timer3->isActive() && !w.Parameter_Maske->isEnabled()
            && buttonsEnabled() == kNone;
    }
    void saveTo(const QString &path)
    {
        ui::dialogHooks().chooseFile = [path](QFileDialog *) { return path; };
        button("Logbuch_save_Button")->click();
    }
    void waitForEnd()
    {
        QEventLoop loop;
        QObject::connect(tab->exchange, &LogbookExchange::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    }

    const std::vector<bool> kAll = std::vector<bool>(4, true);
    const std::vector<bool> kNone = std::vector<bool>(4, false);
    Headless headless;
    TQuorvix w;
    test::FakePort port;
    LogbuchTab *tab = nullptr;
    QTemporaryDir dir;
};

} // namespace

TEST_F(LogbookWindow, PageHoldsTheListButtonsAndHiddenProgressBar)
{
    const std::pair<const char *, const char *> captions[] = {
        {"Logbuch_Button", "Logbuch lesen"},
        {"Logbuch_Anfang", "Ab Anfang"},
        {"Logbuch_Loeschen", "Logbuch löschen"},
        {"Logbuch_save_Button", "Save to Disk"},
    };
    for (const auto &[name, caption] : captions) {
        ASSERT_NE(button(name), nullptr) << name;
        EXPECT_EQ(button(name)->text(), QString::fromUtf8(caption));
    }
    EXPECT_EQ(button("Logbuch_Button")->toolTip(), QStringLiteral("Die nächsten 100 Logbuch-Einträge lesen"));
    EXPECT_EQ(button("Logbuch_Anfang")->toolTip(), QStringLiteral("Logbuch ab Anfang lesen"));
    EXPECT_NE(button("Help_Logbuch"), nullptr);
    auto *lb = w.findChild<QListWidget *>("LB");
    ASSERT_NE(lb, nullptr);
    EXPECT_EQ(lb->count(), 101);
    EXPECT_EQ(lb->font().family(), QStringLiteral("Liberation Mono"));
    EXPECT_TRUE(w.findChild<QProgressBar *>("LogbuchProgressBar")->isHidden());
}

TEST_F(LogbookWindow, ReadingSuspendsPollingUntilTheEndMarker)
{
    button("Logbuch_Button")->click();
    EXPECT_EQ(port.texts(), (QStringList{"smn", "sla", "sld"}));
    EXPECT_TRUE(suspended());

    frame("sla", "57,");
    for (int n = 1; n <= 4; ++n)
        frame("sld", entry(n));
    EXPECT_EQ(tab->LB->item(0)->text().left(7), QStringLiteral("   57  "));
    EXPECT_EQ(tab->LB->currentRow(), 3);

    QString damaged = entry(5);
    damaged.replace(QStringLiteral(",%1,").arg(5 + 2 + 1 + 7 + 12 + 1 + 6 + 30), QStringLiteral(",1,"));
    frame("sld", damaged);
    EXPECT_EQ(w.statusPanels[StatusModel::Error]->text(), QStringLiteral("LoBuFe 4"));
    EXPECT_TRUE(suspended());

    frame("sld", kEndMarker);
    EXPECT_EQ(tab->LB->item(4)->text(), QStringLiteral("   Keine Logbucheinträge gespeichert"));
    EXPECT_EQ(tab->LB->currentRow(), 0);
    EXPECT_TRUE(idle());
}

TEST_F(LogbookWindow, DeleteSendsAndEmptiesTheList)
{
    button("Logbuch_Button")->click();
    frame("sld", entry(1));
    frame("sld", kEndMarker);
    port.clear();
    button("Logbuch_Loeschen")->click();
    EXPECT_EQ(port.texts(), QStringList{"sll"});
    EXPECT_EQ(tab->LB->item(0)->text(), QString());
    EXPECT_TRUE(idle());
}

TEST_F(LogbookWindow, CancellingTheSaveDialogOnlyReenablesTheButtons)
{
    for (const char *name : kButtons)
        button(name)->setEnabled(false);
    ui::dialogHooks().chooseFile = [](QFileDialog *dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("SaveDialog_Logbuch"));
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("vlg"));
        return QString();
    };
    tab->Logbuch_save_ButtonClick();
    EXPECT_TRUE(port.writes.isEmpty());
    EXPECT_TRUE(idle());
    EXPECT_TRUE(tab->LogbuchProgressBar->isHidden());
}

TEST_F(LogbookWindow, ExportShowsProgressAndWritesTheFile)
{
    const QString path = dir.filePath("log.vlg");
    saveTo(path);
    EXPECT_EQ(port.texts(), (QStringList{"smn", "sla", "slf"}));
    EXPECT_TRUE(suspended());
    EXPECT_FALSE(tab->LogbuchProgressBar->isHidden());
    EXPECT_EQ(tab->LogbuchProgressBar->value(), 0);

    frame("sla", "3,");
    EXPECT_EQ(tab->LogbuchProgressBar->maximum(), 3);
    frame("slf", entry(1));
    frame("slf", entry(2, 8));
    EXPECT_EQ(tab->LogbuchProgressBar->value(), 2);
    EXPECT_EQ(w.statusPanels[StatusModel::Activity]->text(), QStringLiteral("Logbuch Zeile 2"));
    frame("slf", entry(3));
    frame("slf", kEndMarker);

    EXPECT_TRUE(tab->LogbuchProgressBar->isHidden());
    EXPECT_TRUE(timersRunning());
    // "Ab Anfang" comes back with the next poll tick.
    EXPECT_EQ(buttonsEnabled(), (std::vector<bool>{true, false, true, true}));
    EXPECT_TRUE(headless.errors.isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 6); // header, three entries, marker, nothing after the last CR LF
    EXPECT_EQ(lines[2], QByteArray("2;            ;07.12.;06:30; ;Alarmkontakt wurde ausgel\xF6st\r"));
}

TEST_F(LogbookWindow, FileErrorIsReportedAndEndsTheExport)
{
    saveTo(dir.filePath("no/such/dir/log.vlg"));
    EXPECT_TRUE(port.writes.isEmpty());
    ASSERT_EQ(headless.errors.size(), 1);
    EXPECT_TRUE(headless.errors[0].contains("no/such/dir/log.vlg"));
    EXPECT_TRUE(idle());
    EXPECT_TRUE(tab->LogbuchProgressBar->isHidden());
}

TEST_F(LogbookWindow, SilentControllerDuringExportSaysTheFileIsIncomplete)
{
    tab->exchange->setSilenceTimeout(1);
    saveTo(dir.filePath("log.vlg"));
    frame("sla", "3,");
    frame("slf", entry(1));
    waitForEnd();
    EXPECT_TRUE(idle());
    EXPECT_TRUE(tab->LogbuchProgressBar->isHidden());
    EXPECT_EQ(w.statusPanels[StatusModel::Error]->text(), QStringLiteral("Zeitüberschreitung"));
    ASSERT_EQ(headless.errors.size(), 1);
    EXPECT_TRUE(headless.errors[0].contains(QStringLiteral("unvollständig")));
}
