#pragma once

#include "config/store.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPointer>

#include <array>

class QLabel;

namespace vandorelle {

class DayBar;

// `WochenUebersicht`: the week of one motor's switching times as seven bars, Monday first,
// for the heating tab. After an up switching time the mode colour (red for heating, aqua for
// cooling), after a down one the active caption colour.
class WeekOverview : public QGroupBox {
    Q_OBJECT
public:
    struct Selection {
        int motor = 0;        // item index of Heiz_Raum
        bool on = false;      // Heiz_Ein_Aus shows "EIN"
        bool cooling = false; // Heiz_Betriebsart shows "Kühlbetrieb"
    };

    explicit WeekOverview(const ConfigStore &store, QWidget *parent = nullptr);

    // Draws the week for this selection; the box is shown only while heating is on
    // (it is drawn either way).
    void draw(const Selection &selection);
    // Draws again from the store with the selection read from `Heiz_Raum`, `Heiz_Ein_Aus`
    // and `Heiz_Betriebsart` of the window, or the last one given when those are absent.
    void redraw();

    const Selection &selection() const { return m_selection; }
    DayBar *row(int weekday) const { return m_rows.at(weekday); }

    static QColor upColour(bool cooling);
    static QColor downColour();

private:
    Selection selectionFromWindow() const;

    QComboBox *heatingBox(QPointer<QComboBox> &cache, const char *name) const;

    const ConfigStore &m_store;
    Selection m_selection;
    mutable QPointer<QComboBox> m_motorBox, m_onOffBox, m_modeBox;
    std::array<DayBar *, kWeekdays> m_rows{};
};

} // namespace vandorelle
