#pragma once

#include <QByteArray>
#include <QString>

namespace vandorelle {

// Writes the bytes beside the target and renames them over it only when complete, so a
// failure leaves the previous file as it was. Returns the error text, or "" on success.
QString writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace vandorelle
