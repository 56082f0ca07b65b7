#pragma once

#include "config/symbol_texts.h"
#include "protocol/live_values.h"

#include <QLineEdit>

class QComboBox;
class QGroupBox;
class QMouseEvent;

namespace vandorelle {

// Fills a combo with items whose shown text is the glyph and whose data is the logic text.
void addSymbolItems(QComboBox *box, const QStringList &logicTexts);

// A read-only edit that reports clicks (Lux mode, maximum-wind reset) and, for symbol
// displays, remembers the logic text behind the glyph it shows.
class ReadOnlyBox : public QLineEdit {
    Q_OBJECT
public:
    ReadOnlyBox(const QString &objectName, const QString &text, QWidget *parent);

    void setSymbolText(const QString &logicText);
    QString symbolText() const { return m_logic; }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QString m_logic;
};

// "Min    Aktuell   Max": three read-only edits of the inside or outside temperature.
struct TemperatureBoxes {
    ReadOnlyBox *min = nullptr;
    ReadOnlyBox *actual = nullptr;
    ReadOnlyBox *max = nullptr;
};

QGroupBox *temperatureGroup(QWidget *parent, const QString &name, const QString &caption,
                            const QString &minName, const QString &actualName,
                            const QString &maxName, TemperatureBoxes &boxes);
void showInsideTemperatures(const TemperatureBoxes &boxes, const LiveValues &live);
void showOutsideTemperatures(const TemperatureBoxes &boxes, const LiveValues &live);

} // namespace vandorelle
