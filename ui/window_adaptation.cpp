#include "ui/window_adaptation.h"

#include "ui/conservatory_tab.h"
#include "ui/heating_tab.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/parameter_tab.h"
#include "ui/port_selector.h"
#include "ui/schaltzeit_transfer.h"
#include "ui/shading_tab.h"
#include "ui/shape_widget.h"
#include "ui/wind_tab.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

namespace vandorelle {

namespace {

const char *const kLogbookButtons[] = {"Logbuch_Button", "Logbuch_Anfang", "Logbuch_save_Button", "Logbuch_Loeschen"};

const char *const kBankControls[] = {"AS_Bank_next", "AS_Bank_Label", "GZ_Bank_next",
                                     "GZ_Bank_Label", "HS_Bank_next", "HS_Bank_Label"};

// Which family-dependent controls a controller gets.
struct FamilyControl {
    const char *name;
    bool (*shown)(const DeviceFlags &);
};

bool conservatory(const DeviceFlags &f) { return f.ConservatoryFamily; }
bool sunOrConservatory(const DeviceFlags &f) { return f.ShadingFamily || f.ConservatoryFamily; }
bool alarmSetUp(const DeviceFlags &f) { return sunOrConservatory(f) && !f.TastFunk; }
bool groupControl(const DeviceFlags &f) { return f.GzsPresent; }
bool pushButton(const DeviceFlags &f) { return f.TastPresent; }

const FamilyControl kFamilyControls[] = {
    {"Heiz_Hysterese", conservatory},
    {"Heiz_Hysterese_Label", conservatory},
    {"FeuchteSteuerung", conservatory},
    {"RelF_Liste", conservatory},
    {"RelF_Label_7", conservatory},
    {"GroupBox_WintergStrg", conservatory},
    {"GroupBoxInnentemperatur", conservatory},
    {"GroupBoxInnentemperatur2", conservatory},
    {"GroupBox_SensorTypen", sunOrConservatory},
    {"GroupBox_AlarmSetUp", alarmSetUp},
    {"GroupBox_GZS", groupControl},
    {"GroupBox_Tast_Automatik", pushButton},
    {"Tast_Label2", pushButton},
    {"Tast_Liste", pushButton},
};

// Controllers with four switching times per day get the narrow schedule lists.
struct NarrowWidth {
    const char *name;
    int width;
};
const NarrowWidth kNarrowWidths[] = {
    {"DatenListe_Motor", 447}, {"DatenListe_Tag", 447}, {"Label42", 447}, {"Label37", 300}};

template <typename Apply>
void forNamed(TQuorvix &w, const char *name, Apply apply)
{
    for (QWidget *widget : w.findChildren<QWidget *>(QString::fromLatin1(name)))
        apply(widget);
}

void setVisibleByName(TQuorvix &w, const char *name, bool visible)
{
    forNamed(w, name, [visible](QWidget *widget) { widget->setVisible(visible); });
}

void setLogbookButtonsEnabled(TQuorvix &w, bool enabled)
{
    for (const char *name : kLogbookButtons)
        forNamed(w, name, [enabled](QWidget *widget) { widget->setEnabled(enabled); });
}

} // namespace

void adaptWindowToFamily(TQuorvix &w, const DeviceFlags &flags)
{
    w.setPageVisible(w.beschattung, sunOrConservatory(flags));
    w.setPageVisible(w.windRegen, sunOrConservatory(flags));
    w.setPageVisible(w.wintergarten, conservatory(flags));
    w.setPageVisible(w.heizung, conservatory(flags));

    for (const FamilyControl &c : kFamilyControls)
        setVisibleByName(w, c.name, c.shown(flags));
    // Bank arrows are needed exactly when there are more motors than one page shows.
    for (const char *name : kBankControls)
        setVisibleByName(w, name, flags.BankModel);
    if (!flags.EightEntries) {
        for (const NarrowWidth &n : kNarrowWidths)
            forNamed(w, n.name, [&n](QWidget *widget) { widget->setFixedWidth(n.width); });
    }

    w.KeineVerbindung_Label->hide();
    w.transfer->showTransferPair(flags.ConservatoryFamily);
    setLogbookButtonsEnabled(w, true);
    w.URL_Label->setText(Supervisor::urlFor(flags));
}

void showNotConnected(TQuorvix &w)
{
    w.KeineVerbindung_Label->show();
    setLogbookButtonsEnabled(w, false);
}

void showDot(ShapeWidget &dot, DotState state)
{
    if (state == DotState::MagentaCircle) {
        dot.setBrush(QColor(255, 0, 255));
        dot.setShape(ShapeWidget::Shape::Circle);
    } else {
        dot.setBrush(Qt::red);
        dot.setShape(ShapeWidget::Shape::Rectangle);
    }
}

} // namespace vandorelle

// The supervisor's side of the window: timers, reactions, dialogs.
namespace vandorelle {

void TQuorvix::connectSupervisor()
{
    supervisor.setTimers(Timer1, Timer3, DCF77_LED_Timer);
    supervisor.portChoice = [this] { return transfer->Combo_PortNum->currentChoice(); };
    connect(Timer1, &QTimer::timeout, this, &TQuorvix::Timer1Timer);
    connect(Timer3, &QTimer::timeout, this, &TQuorvix::Timer3Timer);
    connect(DCF77_LED_Timer, &QTimer::timeout, this, &TQuorvix::DCF77_LED_TimerTimer);

    connect(&supervisor, &Supervisor::adaptWindow, this,
            [this](const DeviceFlags &flags) { adaptWindowToFamily(*this, flags); });
    connect(&supervisor, &Supervisor::showNotConnected, this, [this] { vandorelle::showNotConnected(*this); });
    connect(&supervisor, &Supervisor::dotChanged, this, [this](DotState state) { showDot(*Dot, state); });
    connect(&supervisor, &Supervisor::errorMessage, this, [this](const QString &text) { ui::showError(this, text); });
    connect(&supervisor, &Supervisor::firmwareRefused, this, &TQuorvix::refuseFirmware);

    // The end of the time-signal mode takes the group ticks of the shown bank into the store.
    connect(&session, &Session::timeSignalEnded, parameter, &ParameterTab::storeGroupBank,
            Qt::UniqueConnection);
}

void TQuorvix::Timer1Timer() { supervisor.Timer1Timer(); }
void TQuorvix::Timer3Timer() { supervisor.Timer3Timer(); }
void TQuorvix::DCF77ButtonClick() { supervisor.DCF77ButtonClick(); }
void TQuorvix::DCF77_LED_TimerTimer() { supervisor.DCF77_LED_TimerTimer(); }

void TQuorvix::refuseFirmware(const QString &text)
{
    ui::showError(this, text);
    close();
    QCoreApplication::exit(0);
}

} // namespace vandorelle
