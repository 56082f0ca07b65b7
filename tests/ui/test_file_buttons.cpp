#include "config/config_file.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/parameter_tab.h"
#include "ui/schaltzeit_transfer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

// Answers every dialog of the window instead of a user and records what was shown.
struct ScriptedDialogs {
    QString chosenFile;
    bool overwrite = false;
    QStringList shown;
    QObject *lastDialog = nullptr;

    ScriptedDialogs()
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-test-port");
        auto &h = ui::dialogHooks();
        h.error = [this](QWidget *, const QString &t) { shown << QStringLiteral("error: ") + t; };
        h.information = [this](QWidget *, const QString &t) { shown << QStringLiteral("info: ") + t; };
        h.question = [this](QWidget *, const QString &t) {
            shown << QStringLiteral("question: ") + t;
            return overwrite;
        };
        h.chooseFile = [this](QFileDialog *d) {
            lastDialog = d;
            return chosenFile;
        };
    }
    ~ScriptedDialogs() { ui::resetDialogHooks(); }
};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class FileButtons : public ::testing::Test {
protected:
    FileButtons()
    {
        w.startUp();
        dialogs.shown.clear();
    }
    void save() { w.transfer->SaveToDisk_Button->click(); }
    void load() { w.transfer->Read_From_Disk->click(); }

    ScriptedDialogs dialogs;
    TQuorvix w;
    QTemporaryDir dir;
};

} // namespace

TEST_F(FileButtons, SaveThenLoadBringsTheConfigurationBack)
{
    const QString path = dir.filePath(QStringLiteral("anlage.vsk"));
    w.store.MotorNamen[0] = QStringLiteral("Küche");
    w.store.entry(3, 4, 5).Zeit = timeCode(6, 45);
    w.store.InnenTemperatursteuerung[7].Gr_Kl = 1;
    w.store.SoftGZS = true;
    // A tick not yet stored by a bank change is saved too.
    auto *group2Row1 = w.findChild<QCheckBox *>(QStringLiteral("CheckBox9"));
    ASSERT_TRUE(group2Row1);
    group2Row1->setChecked(true);
    w.store.GruppenZentralsteuerung[0][1] = 0;

    dialogs.chosenFile = path;
    save();
    ConfigStore saved = w.store;
    EXPECT_EQ(saved.GruppenZentralsteuerung[0][1], 1);
    EXPECT_EQ(dialogs.lastDialog, w.SaveDialog1);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('\n').toStdString();
    EXPECT_EQ(contents(path), writeConfigFile(saved));

    w.store.reset();
    w.store.clearAllPending();
    auto *weekday = w.findChild<QComboBox *>(QStringLiteral("CB_Wochentag"));
    auto *motor = w.findChild<QComboBox *>(QStringLiteral("CB_Raum"));
    ASSERT_TRUE(weekday && motor);
    weekday->setCurrentIndex(3);
    w.parameter->showGroupBankPage(3);
    load();
    EXPECT_EQ(w.parameter->groupBank(), 1);
    EXPECT_TRUE(group2Row1->isChecked());
    EXPECT_TRUE(w.findChild<QCheckBox *>(QStringLiteral("Soft_GZS"))->isChecked());
    EXPECT_EQ(weekday->currentIndex(), 0);
    EXPECT_EQ(motor->currentIndex(), 0);
    EXPECT_EQ(motor->itemText(0), QStringLiteral("Küche"));
    EXPECT_TRUE(w.status.panel(StatusModel::Activity).startsWith(QStringLiteral("Freier Schaltzeiten-Speicher")))
        << w.status.panel(StatusModel::Activity).toStdString();
    EXPECT_EQ(dialogs.lastDialog, w.OpenDialog1);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join('\n').toStdString();
    ConfigStore expected = saved;
    expected.markAllPending();
    EXPECT_TRUE(w.store == expected);
}

TEST_F(FileButtons, OverwritingAsksFirst)
{
    const QString path = dir.filePath(QStringLiteral("alt.vsk"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("alt");
    }
    dialogs.chosenFile = path;
    dialogs.overwrite = false;
    save();
    EXPECT_EQ(dialogs.shown,
              (QStringList{QStringLiteral("question: ") + path
                               + QStringLiteral(" existiert. Wollen Sie die Datei überschreiben?"),
                           QStringLiteral("info: Die Daten wurden nicht gespeichert")}));
    EXPECT_EQ(contents(path), QByteArray("alt"));

    dialogs.shown.clear();
    dialogs.overwrite = true;
    save();
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(contents(path), writeConfigFile(w.store));
}

TEST_F(FileButtons, CancelledDialogsDoNothing)
{
    dialogs.chosenFile.clear();
    const ConfigStore before = w.store;
    save();
    load();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(w.store == before);
}

TEST_F(FileButtons, FailuresAreReported)
{
    dialogs.chosenFile = dir.filePath(QStringLiteral("fehlt/anlage.vsk"));
    save();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].startsWith(QStringLiteral("error: ") + dialogs.chosenFile));

    dialogs.shown.clear();
    load();
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("error: File not found")});

    const QString bad = dir.filePath(QStringLiteral("kaputt.vsk"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Wind_Motor02]\r\nEinAus=Ein\r\nGeschwindigkeit=viel\r\n");
    }
    dialogs.shown.clear();
    dialogs.chosenFile = bad;
    load();
    EXPECT_EQ(dialogs.shown,
              QStringList{QStringLiteral("error: 'viel' ist kein gültiger Integerwert (Zeile 3)")});
}

TEST_F(FileButtons, ARefusedFileLeavesTheWindowAsItWas)
{
    auto *weekday = w.findChild<QComboBox *>(QStringLiteral("CB_Wochentag"));
    ASSERT_TRUE(weekday);
    weekday->setCurrentIndex(3);
    w.store.clearAllPending();
    const ConfigStore before = w.store;
    const QString activity = w.status.panel(StatusModel::Activity);

    // A whole file but for one value in its very last section.
    QByteArray file = writeConfigFile(ConfigStore{});
    const QByteArray last = "[TastAutomatik_Motor32]\r\nEinAus=Aus\r\nDauer=";
    const qsizetype at = file.lastIndexOf(last) + last.size();
    file.replace(at, 2, "999");
    dialogs.chosenFile = dir.filePath(QStringLiteral("fast.vsk"));
    {
        QFile f(dialogs.chosenFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    load();
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("error: Wert '999' außerhalb des gültigen Bereichs (Zeile %1)")
                                             .arg(file.left(at).count('\n') + 1)});
    EXPECT_TRUE(w.store == before);
    EXPECT_TRUE(w.store.nonePending());
    EXPECT_EQ(weekday->currentIndex(), 3);
    EXPECT_EQ(w.status.panel(StatusModel::Activity), activity);
}
