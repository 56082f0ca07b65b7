#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

namespace vandorelle::ui {

// Every dialog the window shows goes through these hooks, so that tests can answer
// them instead of a user. The defaults show the real Qt dialogs.
struct DialogHooks {
    std::function<void(QWidget *parent, const QString &text)> error;
    std::function<void(QWidget *parent, const QString &text)> information;
    std::function<bool(QWidget *parent, const QString &text)> question; // true = yes
    // Returns the chosen path, or an empty string when the user cancelled.
    std::function<QString(QFileDialog *dialog)> chooseFile;
};

DialogHooks &dialogHooks();
void resetDialogHooks();

void showError(QWidget *parent, const QString &text);
void showInformation(QWidget *parent, const QString &text);
bool askYesNo(QWidget *parent, const QString &text);
QString chooseFile(QFileDialog *dialog);
// Opens the dialog in lastFolder, else in the user's documents folder, and remembers the
// folder of the chosen file there.
QString chooseFileIn(QFileDialog *dialog, QString &lastFolder);

} // namespace vandorelle::ui
