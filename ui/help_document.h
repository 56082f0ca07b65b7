#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <vector>

// The help document: one file of chapters, each beginning at its title in square brackets,
// ended by "[Ende Dokument]".
namespace vandorelle::help {

inline const QString kEndMarker = QStringLiteral("[Ende Dokument]");
inline const QString kFileName = QStringLiteral("Vandorelle.hlp");

// One "?" button: its chapter and where the pane floats while showing it (window pixels).
struct Topic {
    const char *button;
    QString title;
    QRect pane;
};
const std::vector<Topic> &topics();
const Topic *topicOfButton(const QString &buttonName);

// Windows-1252 text; a document that begins with "{\rtf" loses its markup.
QString documentText(const QByteArray &bytes);
QString rtfToPlainText(const QByteArray &rtf);

} // namespace vandorelle::help
