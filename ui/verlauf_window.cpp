#include "ui/verlauf_window.h"

#include "config/atomic_file.h"
#include "protocol/sensor_csv.h"
#include "ui/conservatory_tab.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/shading_tab.h"
#include "ui/verlauf_plot.h"
#include "ui/wind_tab.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace vandorelle {

namespace {

constexpr qint64 kHourMs = 3600 * 1000;
constexpr int kHours[] = {1, 6, 24};
// Readings further apart than this (more than a few lost polls) are not joined by a line.
constexpr qint64 kGapMs = 5000;

} // namespace

VerlaufWindow::VerlaufWindow(TQuorvix *window)
    : QWidget(window, Qt::Window), w(window)
{
    setObjectName(QStringLiteral("Verlauf"));
    setWindowTitle(QStringLiteral("Verlauf"));
    resize(760, 480);

    auto *layout = new QVBoxLayout(this);
    auto *controls = new QHBoxLayout;
    Verlauf_Groesse = new QComboBox(this);
    Verlauf_Groesse->setObjectName(QStringLiteral("Verlauf_Groesse"));
    for (int q = 0; q < kQuantities; ++q)
        Verlauf_Groesse->addItem(quantityInfo(Quantity(q)).name);
    Verlauf_Zeitraum = new QComboBox(this);
    Verlauf_Zeitraum->setObjectName(QStringLiteral("Verlauf_Zeitraum"));
    Verlauf_Zeitraum->addItems({QStringLiteral("1 Stunde"), QStringLiteral("6 Stunden"), QStringLiteral("24 Stunden")});
    Verlauf_Export = new QPushButton(QStringLiteral("Exportieren ..."), this);
    Verlauf_Export->setObjectName(QStringLiteral("Verlauf_Export"));
    Verlauf_Export->setToolTip(QStringLiteral("Den gezeigten Verlauf als CSV-Datei speichern"));
    Verlauf_Schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    Verlauf_Schliessen->setObjectName(QStringLiteral("Verlauf_Schliessen"));
    controls->addWidget(new QLabel(QStringLiteral("Messwert"), this));
    controls->addWidget(Verlauf_Groesse);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("Zeitraum"), this));
    controls->addWidget(Verlauf_Zeitraum);
    controls->addStretch(1);
    controls->addWidget(Verlauf_Export);
    controls->addWidget(Verlauf_Schliessen);
    layout->addLayout(controls);
    Verlauf_Diagramm = new VerlaufPlot([this] { return scene(); }, this);
    layout->addWidget(Verlauf_Diagramm, 1);

    SaveDialog_Verlauf = new QFileDialog(this);
    SaveDialog_Verlauf->setObjectName(QStringLiteral("SaveDialog_Verlauf"));
    SaveDialog_Verlauf->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog_Verlauf->setOption(QFileDialog::DontConfirmOverwrite); // asked in German below
    SaveDialog_Verlauf->setNameFilter(QStringLiteral("CSV-Datei (*.csv)"));
    SaveDialog_Verlauf->setDefaultSuffix(QStringLiteral("csv"));

    connect(Verlauf_Groesse, &QComboBox::activated, this, &VerlaufWindow::Verlauf_GroesseClick);
    connect(Verlauf_Zeitraum, &QComboBox::activated, this, &VerlaufWindow::Verlauf_ZeitraumClick);
    connect(Verlauf_Export, &QPushButton::clicked, this, &VerlaufWindow::Verlauf_ExportClick);
    connect(Verlauf_Schliessen, &QPushButton::clicked, this, &QWidget::close);
    connect(&w->sensorRecorder, &SensorRecorder::recorded, this, &VerlaufWindow::redraw);
    // The time axis moves on and old readings leave also while no answers come.
    m_clockTick = new QTimer(this);
    m_clockTick->setInterval(1000);
    connect(m_clockTick, &QTimer::timeout, this, [this] {
        w->sensorRecorder.expire();
        redraw();
    });
    followEditors();
}

VerlaufWindow *VerlaufWindow::open(TQuorvix *window, Quantity quantity)
{
    auto *verlauf = window->findChild<VerlaufWindow *>(QStringLiteral("Verlauf"), Qt::FindDirectChildrenOnly);
    if (!verlauf)
        verlauf = new VerlaufWindow(window);
    verlauf->showQuantity(quantity);
    verlauf->show();
    verlauf->raise();
    verlauf->activateWindow();
    return verlauf;
}

// The thresholds come from the store and the editors' motor choices, which announce
// nothing themselves: the user's choices there, the records read from the controller and
// the page changes (tab enter re-selects motors) redraw the lines at once.
void VerlaufWindow::followEditors()
{
    for (QWidget *page : std::initializer_list<QWidget *>{w->beschattung, w->windRegen, w->wintergarten}) {
        for (QComboBox *box : page->findChildren<QComboBox *>())
            connect(box, &QComboBox::activated, this, &VerlaufWindow::redraw);
        for (QListWidget *list : page->findChildren<QListWidget *>()) {
            connect(list, &QListWidget::itemClicked, this, &VerlaufWindow::redraw);
            connect(list, &QListWidget::itemDoubleClicked, this, &VerlaufWindow::redraw);
        }
    }
    connect(&w->session, &Session::followUp, this, &VerlaufWindow::redraw);
    connect(w->Parameter_Maske, &QTabWidget::currentChanged, this, &VerlaufWindow::redraw);
}

Quantity VerlaufWindow::quantity() const { return Quantity(qBound(0, Verlauf_Groesse->currentIndex(), kQuantities - 1)); }

qint64 VerlaufWindow::spanMs() const
{
    return kHours[qBound(0, Verlauf_Zeitraum->currentIndex(), 2)] * kHourMs;
}

void VerlaufWindow::showQuantity(Quantity q)
{
    Verlauf_Groesse->setCurrentIndex(int(q));
    redraw();
}

PlotScene VerlaufWindow::scene() const
{
    const SensorClock &clock = w->sensorRecorder.clock();
    PlotScene s;
    s.history = &w->sensorRecorder.history();
    s.quantity = quantity();
    s.endMonotonicMs = clock.monotonicMs();
    s.endWallMs = clock.wallMs();
    s.spanMs = spanMs();
    s.gapMs = qint64(double(kGapMs) * clock.factor);
    s.thresholds = thresholdLines(*w, s.quantity);
    return s;
}

void VerlaufWindow::Verlauf_GroesseClick() { redraw(); }
void VerlaufWindow::Verlauf_ZeitraumClick() { redraw(); }

void VerlaufWindow::Verlauf_ExportClick()
{
    const QString name = QStringLiteral("Verlauf %1 %2.csv")
                             .arg(quantityInfo(quantity()).name, QDate::currentDate().toString(Qt::ISODate));
    SaveDialog_Verlauf->selectFile(name);
    const QString path = ui::chooseFile(SaveDialog_Verlauf);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)
        && !ui::askYesNo(this, QDir::toNativeSeparators(path)
                                   + QStringLiteral(" existiert. Wollen Sie die Datei überschreiben?")))
        return;
    const PlotScene shown = scene();
    const QByteArray bytes =
        sensorHistoryCsv(*shown.history, shown.quantity, shown.endMonotonicMs - shown.spanMs);
    const QString error = writeFileAtomically(path, bytes);
    if (!error.isEmpty())
        ui::showError(this, QDir::toNativeSeparators(path) + QStringLiteral(": ") + error);
}

void VerlaufWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_clockTick->start();
}

void VerlaufWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_clockTick->stop();
}

void VerlaufWindow::redraw()
{
    // Only a repaint: the window never asks for the focus.
    if (isVisible())
        Verlauf_Diagramm->update();
}

QPushButton *verlaufButton(TQuorvix *window, QWidget *page, const char *name, Quantity quantity)
{
    auto *button = new QPushButton(QStringLiteral("Verlauf ..."), page);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QStringLiteral("Verlauf der letzten 24 Stunden mit den eingestellten Schwellen"));
    // Small: it goes where a row of controls has room left.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 14);
    QObject::connect(button, &QPushButton::clicked, page, [window, quantity] { VerlaufWindow::open(window, quantity); });
    return button;
}

} // namespace vandorelle
