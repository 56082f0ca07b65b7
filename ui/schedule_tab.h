#pragma once

#include "ui/tab_page.h"

namespace vandorelle {

// Page "Schaltzeit_Maske": switching-time editor, weekly overviews, names, copying,
// free memory; hosts the transfer groups (TransferPanel).
class SchaltzeitTab : public TabPage {
    Q_OBJECT
public:
    explicit SchaltzeitTab(TQuorvix *window);

    // Used by the read-all exchange: clear the selectors and the lists, show
    // "     Lese Daten von Steuerung ..." on line 7 of both lists.
    void prepareForRead();
    // Line 7 (index 6) of DatenListe_Tag, then the same text into DatenListe_Motor.
    void showReadProgress(const QString &line);
    // End of a read-all: redraw both lists, select item 1 of CB_Wochentag, CB_Raum,
    // CB_Copy_Raum (copy_from_label follows) and CB_Schaltzeit_Nr.
    void finishRead();
    // Lists, day bar, heating week overview and free-memory figure from the store.
    void redrawAll();
    // Recomputes the free-memory figure (panel 6, Speicherplatz_Label).
    void updateFreeMemory();
};

} // namespace vandorelle
