#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

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

} // namespace vandorelle::ui
