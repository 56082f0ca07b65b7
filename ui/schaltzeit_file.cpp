#include "ui/schaltzeit_transfer.h"

#include "config/config_file.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/parameter_tab.h"
#include "ui/schedule_tab.h"

#include <QDir>
#include <QFileInfo>

namespace vandorelle {

void TransferPanel::SaveToDisk_ButtonClick()
{
    const QString path = ui::chooseFileIn(w->SaveDialog1, w->configFileFolder);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)
        && !ui::askYesNo(w, QDir::toNativeSeparators(path)
                                + QStringLiteral(" existiert. Wollen Sie die Datei überschreiben?"))) {
        ui::showInformation(w, QStringLiteral("Die Daten wurden nicht gespeichert"));
        return;
    }
    // Ticks on the group page are stored only when its bank changes; take the shown bank now.
    w->parameter->storeGroupBank();
    const QString error = saveConfigFile(path, w->store);
    if (!error.isEmpty())
        ui::showError(w, QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
}

void TransferPanel::Read_From_DiskClick()
{
    const QString path = ui::chooseFileIn(w->OpenDialog1, w->configFileFolder);
    if (path.isEmpty())
        return;
    const QString activity = w->status.panel(StatusModel::Activity);
    const LoadResult result = loadConfigFile(path, w->store, [this](const QString &section) {
        w->status.setPanel(StatusModel::Activity, section);
    });
    // A refused file changed nothing: the views still show the store, and the editor keeps
    // the entry the user had selected.
    if (!result.ok) {
        w->status.setPanel(StatusModel::Activity, activity);
        ui::showError(w, result.message);
        return;
    }
    w->parameter->showGroupBankPage(1);
    w->refreshAllViews();
    w->schaltzeit->updateFreeMemory();
    w->schaltzeit->redrawAll();
    w->schaltzeit->finishRead(); // Mo, motor 1, entry 1 selected and loaded
}

} // namespace vandorelle
