#include "ui/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace vandorelle::ui {

namespace {
DialogHooks defaults()
{
    DialogHooks h;
    h.error = [](QWidget *parent, const QString &text) {
        QMessageBox::critical(parent, QStringLiteral("Vandorelle"), text);
    };
    h.information = [](QWidget *parent, const QString &text) {
        QMessageBox::information(parent, QStringLiteral("Vandorelle"), text);
    };
    h.question = [](QWidget *parent, const QString &text) {
        return QMessageBox::question(parent, QStringLiteral("Vandorelle"), text,
                                     QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    };
    h.chooseFile = [](QFileDialog *dialog) {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return QString();
        return dialog->selectedFiles().constFirst();
    };
    return h;
}
} // namespace

DialogHooks &dialogHooks()
{
    static DialogHooks hooks = defaults();
    return hooks;
}

void resetDialogHooks() { dialogHooks() = defaults(); }

void showError(QWidget *parent, const QString &text) { dialogHooks().error(parent, text); }
void showInformation(QWidget *parent, const QString &text) { dialogHooks().information(parent, text); }
bool askYesNo(QWidget *parent, const QString &text) { return dialogHooks().question(parent, text); }
QString chooseFile(QFileDialog *dialog) { return dialogHooks().chooseFile(dialog); }

QString chooseFileIn(QFileDialog *dialog, QString &lastFolder)
{
    QString folder = lastFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(folder).isDir())
            folder = QDir::homePath();
    }
    dialog->setDirectory(folder);
    const QString path = chooseFile(dialog);
    if (!path.isEmpty())
        lastFolder = QFileInfo(path).absolutePath();
    return path;
}

} // namespace vandorelle::ui
