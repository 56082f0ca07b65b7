#include "ui/main_window.h"

#include "config/schedule_items.h"
#include "config/settings_file.h"
#include "ui/conservatory_tab.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/heating_tab.h"
#include "ui/help_box.h"
#include "ui/logbook_tab.h"
#include "ui/manual_tab.h"
#include "ui/parameter_tab.h"
#include "ui/port_selector.h"
#include "ui/schaltzeit_transfer.h"
#include "ui/schedule_tab.h"
#include "ui/shading_tab.h"
#include "ui/shape_widget.h"
#include "ui/wind_tab.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace vandorelle {

namespace {

struct PanelSpec {
    int width;
    Qt::Alignment alignment;
    const char *room; // a typical long text that the panel shows whole
};

constexpr PanelSpec kPanelSpecs[StatusModel::kPanels] = {
    {100, Qt::AlignCenter, "VC-7000 WGS-9STG 32M"},
    {50, Qt::AlignCenter, "V7.090"},
    {60, Qt::AlignCenter, "08.12.26"},
    {60, Qt::AlignCenter, "16:58"},
    {0, Qt::AlignLeft, ""},
    {80, Qt::AlignLeft, "Fehler Wind"},
    {185, Qt::AlignCenter, "Freier Schaltzeiten-Speicher: 100%"},
    {70, Qt::AlignCenter, "Sonne: 1234"},
    {60, Qt::AlignCenter, "Wind: 99"},
    {65, Qt::AlignCenter, "AT: -12,3°"},
    {65, Qt::AlignCenter, "IT: -12,3°"},
    {50, Qt::AlignLeft, "R 999999"},
    {50, Qt::AlignLeft, "T 999999"},
    {50, Qt::AlignLeft, ""},
};

QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QFont boldArial(int pixelHeight)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(pixelHeight);
    return f;
}

} // namespace

TQuorvix::TQuorvix(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Quorvix"));
    setWindowTitle(QStringLiteral("Vandorelle-E_V7_09"));
    resize(829, 590);
    move(220, 188);

    session.setPort(&VaComm1);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);
    layout->addLayout(buildTopArea(central));
    // Above the tabs; its line stays free while it is hidden, so the pages do not move.
    QSizePolicy keepLine = Speicherplatz_Label->sizePolicy();
    keepLine.setRetainSizeWhenHidden(true);
    Speicherplatz_Label->setSizePolicy(keepLine);
    layout->addWidget(Speicherplatz_Label);

    Parameter_Maske = new QTabWidget(central);
    Parameter_Maske->setObjectName(QStringLiteral("Parameter_Maske"));
    Parameter_Maske->setTabPosition(QTabWidget::South);
    // All eight captions fit side by side in the window's 829 pixels, as they were made to.
    Parameter_Maske->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
    layout->addWidget(Parameter_Maske, 1);
    setCentralWidget(central);

    transfer = new TransferPanel(this);
    schaltzeit = new SchaltzeitTab(this);
    beschattung = new BeschattungTab(this);
    windRegen = new WindRegenTab(this);
    wintergarten = new WintergartenTab(this);
    heizung = new HeizungTab(this);
    handsteuerung = new HandsteuerungTab(this);
    logbuch = new LogbuchTab(this);
    parameter = new ParameterTab(this);
    pages = {schaltzeit, beschattung, windRegen, wintergarten, heizung, handsteuerung, logbuch, parameter};
    const QString captions[8] = {
        schedule::kTabCaption,
        QStringLiteral("Beschattung, Dämmerung"),
        QStringLiteral("Wind-, Regen-, Feuchte"),
        QStringLiteral("Temperatur-Steuerung"),
        QStringLiteral("Heizung"),
        QStringLiteral("Hand-, Tast-, Reversier-Automatik"),
        QStringLiteral("Logbuch"),
        QStringLiteral(" Parameter"),
    };
    for (int i = 0; i < 8; ++i)
        Parameter_Maske->addTab(pages[i], captions[i]);
    connect(Parameter_Maske, &QTabWidget::currentChanged, this, &TQuorvix::Parameter_MaskeChange);

    helpBox = new HelpBox(this);

    buildStatusBar();
    buildDialogs();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(900);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(2500);
    DCF77_LED_Timer = new QTimer(this);
    DCF77_LED_Timer->setObjectName(QStringLiteral("DCF77_LED_Timer"));
    DCF77_LED_Timer->setInterval(100);
    connectSupervisor();

    connect(&VaComm1, &TVaComm::OnRxChar, this, &TQuorvix::VaComm1RxChar);
    connect(&VaComm1, &TVaComm::OnError, this, &TQuorvix::VaComm1Error);
    connect(&portKeeper, &PortKeeper::deviceBack, this, &TQuorvix::portBack);
    connect(&status, &StatusModel::panelChanged, this, [this](int index, const QString &text) {
        statusPanels[index]->setText(text);
    });
}

TQuorvix::~TQuorvix()
{
    VaComm1.Close();
}

QHBoxLayout *TQuorvix::buildTopArea(QWidget *central)
{
    auto *top = new QHBoxLayout;

    Label9 = label("Label9", QStringLiteral("Quorvix"), central);
    Label9->setFont(boldArial(56));
    Label9->setStyleSheet(QStringLiteral("color: #ff00ff;"));
    top->addWidget(Label9);

    // The cross of indicators: blue above and below, yellow left and right, the dot centred.
    auto *cross = new QWidget(central);
    cross->setFixedSize(27, 27);
    Dot = new ShapeWidget("Dot", Qt::red, cross);
    Dot->move(9, 9);
    Shapes[3] = new ShapeWidget("Shape4", Qt::blue, cross);
    Shapes[3]->move(9, 0);
    Shapes[0] = new ShapeWidget("Shape1", Qt::blue, cross);
    Shapes[0]->move(9, 18);
    Shapes[2] = new ShapeWidget("Shape3", Qt::yellow, cross);
    Shapes[2]->move(0, 9);
    Shapes[1] = new ShapeWidget("Shape2", Qt::yellow, cross);
    Shapes[1]->move(18, 9);
    top->addSpacing(4); // the bold "x" reaches past its advance
    top->addWidget(cross);

    auto *families = new QVBoxLayout;
    Label10 = label("Label10", QStringLiteral("Rollladensteuerungen"), central);
    Label11 = label("Label11", QStringLiteral("Wintergartensteuerungen"), central);
    Label12 = label("Label12", QStringLiteral("Sonnenschutzsteuerungen"), central);
    for (QLabel *l : {Label10, Label11, Label12}) {
        l->setFont(boldArial(15));
        l->setStyleSheet(QStringLiteral("color: grey;"));
        families->addWidget(l);
    }
    top->addLayout(families);

    auto *right = new QVBoxLayout;
    KeineVerbindung_Label = label("KeineVerbindung_Label", kKeineVerbindung, central);
    KeineVerbindung_Label->setAlignment(Qt::AlignCenter);
    KeineVerbindung_Label->setStyleSheet(QStringLiteral("background: yellow;"));
    URL_Label = label("URL_Label", QString(), central);
    right->addWidget(KeineVerbindung_Label);
    right->addWidget(URL_Label);
    top->addLayout(right, 1);

    Speicherplatz_Label = label(
        "Speicherplatz_Label",
        QStringLiteral(" !!!  Schaltzeiten-Speicher nicht ausreichend  !!!  ---------------------   !!!  "
                       "Schaltzeiten-Speicher nicht ausreichend  !!!"),
        central);
    Speicherplatz_Label->setStyleSheet(QStringLiteral("color: red;"));
    Speicherplatz_Label->hide();
    return top;
}

void TQuorvix::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    // The panels' widths add up to more than the window's 829 pixels: a smaller type, and
    // texts that do not fit are shortened visibly rather than cut.
    QFont small = bar->font();
    small.setPixelSize(10);
    bar->setFont(small);
    // The panels sit closer together than the bar would put them.
    auto *panels = new QWidget(bar);
    auto *row = new QHBoxLayout(panels);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    bar->addWidget(panels, 1);
    for (int i = 0; i < StatusModel::kPanels; ++i) {
        auto *l = new ElidingLabel(panels);
        l->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i));
        l->setAlignment(kPanelSpecs[i].alignment | Qt::AlignVCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        // The panels share the bar in proportion to their widths, each keeping room for its
        // typical text; the last record (panel 13) takes what is left.
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        const QString room = QString::fromUtf8(kPanelSpecs[i].room);
        l->setMinimumWidth(std::max(l->minimumSizeHint().width(),
                                    l->fontMetrics().horizontalAdvance(room) + 2 * l->frameWidth() + 5));
        if (kPanelSpecs[i].width == 0)
            l->hide();
        row->addWidget(l, kPanelSpecs[i].width);
        statusPanels[i] = l;
    }
    status.setPanel(StatusModel::Model, kKeineVerbindung);
    statusPanels[0]->setText(kKeineVerbindung);
}

void TQuorvix::buildDialogs()
{
    auto make = [this](const char *name, QFileDialog::AcceptMode mode) {
        auto *d = new QFileDialog(this);
        d->setObjectName(QString::fromLatin1(name));
        d->setAcceptMode(mode);
        d->setOption(QFileDialog::DontConfirmOverwrite); // the window asks in German itself
        return d;
    };
    SaveDialog1 = make("SaveDialog1", QFileDialog::AcceptSave);
    OpenDialog1 = make("OpenDialog1", QFileDialog::AcceptOpen);
    SaveDialog_Logbuch = make("SaveDialog_Logbuch", QFileDialog::AcceptSave);
}

void TQuorvix::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_startedUp)
        startUp();
}

void TQuorvix::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_startedUp)
        startUp();
}

void TQuorvix::startUp()
{
    if (m_startedUp)
        return;
    m_startedUp = true;

    programDirectory = QDir::currentPath();
    supervisor.resetRunFlags();
    supervisor.settingsDirectory = programDirectory;
    session.luxMean = true; // "Lux mittel"
    session.sendInProgress = false;
    session.readAllRunning = false;
    transfer->ProgressBar->hide();

    store.reset();
    status.setPanel(StatusModel::Activity, QStringLiteral("Freier Schaltzeiten-Speicher: 100%"));
    for (TabPage *page : pages)
        page->startUp();

    SaveDialog1->setNameFilter(QStringLiteral("Quorvix Schaltzeiten (*.vsk)"));
    SaveDialog1->setDefaultSuffix(QStringLiteral("vsk"));
    OpenDialog1->setNameFilter(QStringLiteral("Quorvix Schaltzeiten (*.vsk)"));
    SaveDialog_Logbuch->setNameFilter(QStringLiteral("Quorvix Logbuch-File (*.vlg)"));
    SaveDialog_Logbuch->setDefaultSuffix(QStringLiteral("vlg"));

    transfer->Combo_PortNum->select(readSettings(programDirectory));
    reopenPort(/*portChange=*/false);

    Timer1->start();
    Timer3->start();
}

void TQuorvix::reopenPort(bool portChange)
{
    try {
        try {
            portKeeper.choose(transfer->Combo_PortNum->currentChoice());
        } catch (const EVaCommError &) {
            transfer->Combo_PortNum->select(portKeeper.choice());
            throw;
        }
        if (portChange) {
            store.markAllPending();
            status.clearAll();
            status.setPanel(StatusModel::Model, kKeineVerbindung);
            supervisor.resetLink();
        }
        portKeeper.open();
        if (!portChange)
            refreshAllViews();
    } catch (const EVaCommError &e) {
        ui::showError(this, e.text());
    }
}

void TQuorvix::portBack()
{
    // A suspended supervisor (an exchange running) is not woken.
    if (!Timer1->isActive())
        return;
    Timer1->start();
    Timer3->start();
    Timer1Timer();
}

void TQuorvix::refreshAllViews()
{
    for (TabPage *page : pages)
        page->refresh();
}

void TQuorvix::setPageVisible(TabPage *page, bool visible)
{
    const int index = Parameter_Maske->indexOf(page);
    if (index >= 0 && Parameter_Maske->isTabVisible(index) != visible)
        Parameter_Maske->setTabVisible(index, visible);
}

void TQuorvix::VaComm1RxChar(int)
{
    // The port's event thread waits for this handler, so its error is reported here, where
    // the event ends, rather than escaping into the port.
    try {
        session.receiveAvailable();
    } catch (const std::exception &e) {
        ui::reportHandlerError(e);
    }
}

void TQuorvix::VaComm1Error(int errors)
{
    transfer->Label21->setText(QStringLiteral("Fehler RS232"));
    // The device is gone: running exchanges end now, and the link is lost as the watchdog
    // would find it a few seconds later.
    if (errors & LineError::Hangup)
        session.reportLineLost();
}

void TQuorvix::Parameter_MaskeChange(int index)
{
    helpBox->hide();
    const int previous = std::exchange(m_currentPage, index);
    const auto enterNew = [&] {
        if (index >= 0 && index < int(pages.size()))
            pages[index]->enter();
    };
    try {
        if (previous >= 0 && previous < int(pages.size()) && previous != index) {
            pages[previous]->leave();
            if (pages[previous] == parameter)
                supervisor.parameterPageLeft();
        }
    } catch (...) {
        // A stalled line stops the leaving page's handler; the page shown now is still entered.
        enterNew();
        throw;
    }
    enterNew();
}

} // namespace vandorelle
