#pragma once

#include "protocol/sensor_quantities.h"

#include <QPushButton>
#include <QWidget>

class QComboBox;
class QFileDialog;
class QTimer;

namespace vandorelle {

class TQuorvix;
class VerlaufPlot;
struct PlotScene;

// "Verlauf": the history of one quantity over the last 1, 6 or 24 hours with the
// thresholds being set in its tab. A window of its own beside the main window, not modal;
// it follows every poll without taking the focus.
class VerlaufWindow : public QWidget {
    Q_OBJECT
public:
    explicit VerlaufWindow(TQuorvix *window);

    // Shows the window (making it if needed) on the quantity.
    static VerlaufWindow *open(TQuorvix *window, Quantity quantity);

    QComboBox *Verlauf_Groesse = nullptr;  // the quantity
    QComboBox *Verlauf_Zeitraum = nullptr; // 1, 6 or 24 hours
    QPushButton *Verlauf_Export = nullptr;
    QPushButton *Verlauf_Schliessen = nullptr;
    VerlaufPlot *Verlauf_Diagramm = nullptr;
    QFileDialog *SaveDialog_Verlauf = nullptr;

    Quantity quantity() const;
    qint64 spanMs() const;
    void showQuantity(Quantity quantity);
    PlotScene scene() const;

    void Verlauf_GroesseClick();
    void Verlauf_ZeitraumClick();
    void Verlauf_ExportClick();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void followEditors();
    void redraw();

    TQuorvix *const w;
    QTimer *m_clockTick = nullptr;
};

// The small "Verlauf ..." button of a tab that opens the window on its quantity.
QPushButton *verlaufButton(TQuorvix *window, QWidget *page, const char *name, Quantity quantity);

} // namespace vandorelle
