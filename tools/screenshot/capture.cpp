#include "capture.h"

#include "ui/logbook_tab.h"
#include "ui/main_window.h"
#include "ui/schaltzeit_transfer.h"
#include "ui/tab_page.h"
#include "ui/verlauf_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

namespace vandorelle::tools {

namespace {

struct PageSlug {
    const char *objectName;
    const char *slug;
};

constexpr PageSlug kSlugs[] = {
    {"Schaltzeit_Maske", "schaltzeiten"},
    {"Beschattung_Maske", "beschattung-daemmerung"},
    {"Wind_Regen_Maske", "wind-regen-feuchte"},
    {"Wintergarten_Maske", "temperatur-steuerung"},
    {"Heizung_Maske", "heizung"},
    {"Handsteuerung_Maske", "hand-tast-reversier"},
    {"Alarm_Logbuch_Maske", "logbuch"},
    {"Parameter", "parameter"},
};

// Copying motors is a choice of its own; it does not show a motor's details.
bool isMotorSelector(const QComboBox *box)
{
    const QString name = box->objectName();
    return name.endsWith(QLatin1String("_Raum")) && !name.contains(QLatin1String("Copy"));
}

} // namespace

bool WindowDriver::pumpUntil(const char *what, int boundMs, bool (*done)(TQuorvix &))
{
    const QDeadlineTimer deadline(boundMs);
    while (!done(w) && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    if (done(w))
        return true;
    m_problems << QStringLiteral("%1: not done within %2 ms").arg(QLatin1String(what)).arg(boundMs);
    return false;
}

bool WindowDriver::waitForConnection(int boundMs)
{
    // The poll timer would get there too; ticking by hand saves a second.
    w.Timer1Timer();
    if (!pumpUntil("model string", boundMs, [](TQuorvix &q) {
            return q.status.panel(StatusModel::Model) != kKeineVerbindung
                && !q.status.panel(StatusModel::Date).isEmpty();
        }))
        return false;
    w.Timer1Timer();
    return pumpUntil("connection", boundMs, [](TQuorvix &q) { return !q.session.noConnection; });
}

bool WindowDriver::readAll(int boundMs)
{
    QPushButton *button = w.session.flags.ConservatoryFamily ? w.transfer->Send_Button_WS
                                                             : w.transfer->Send_Button_RS;
    button->click();
    if (!w.readAll.running()) {
        m_problems << QStringLiteral("\"Steuerung --> PC\" did not start a read");
        return false;
    }
    return pumpUntil("read-all", boundMs, [](TQuorvix &q) { return !q.readAll.running(); });
}

bool WindowDriver::readLogbook(int boundMs)
{
    w.Parameter_Maske->setCurrentWidget(w.logbuch);
    w.logbuch->Logbuch_Button->click();
    if (!w.logbuch->exchange->busy()) {
        m_problems << QStringLiteral("\"%1\" did not start a logbook read").arg(w.logbuch->Logbuch_Button->text());
        return false;
    }
    return pumpUntil("logbook read", boundMs, [](TQuorvix &q) { return !q.logbuch->exchange->busy(); });
}

void WindowDriver::showPage(TabPage *page, int motorIndex)
{
    w.Parameter_Maske->setCurrentWidget(page);
    for (QComboBox *box : page->findChildren<QComboBox *>()) {
        if (!isMotorSelector(box) || box->count() <= motorIndex)
            continue;
        box->setCurrentIndex(motorIndex);
        emit box->activated(motorIndex);
    }
    QApplication::processEvents();
}

bool WindowDriver::grabTo(const QString &path)
{
    QApplication::processEvents();
    const QPixmap picture = w.grab();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        m_problems << QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool WindowDriver::recordHistory(qint64 simulatedMs, int boundMs)
{
    const QDeadlineTimer deadline(boundMs);
    const SensorClock &clock = w.sensorRecorder.clock();
    while (clock.monotonicMs() < simulatedMs && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    if (clock.monotonicMs() >= simulatedMs && !w.sensorRecorder.history().empty())
        return true;
    m_problems << QStringLiteral("history: %1 simulated hours not recorded within %2 ms")
                      .arg(double(simulatedMs) / 3600000)
                      .arg(boundMs);
    return false;
}

bool WindowDriver::grabHistory(Quantity quantity, const QString &path)
{
    VerlaufWindow *verlauf = VerlaufWindow::open(&w, quantity);
    verlauf->Verlauf_Zeitraum->setCurrentIndex(2); // 24 hours
    verlauf->resize(760, 480);
    QApplication::processEvents();
    const QPixmap picture = verlauf->grab();
    verlauf->hide();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        m_problems << QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

QString pictureName(int position, const TabPage *page)
{
    QString slug = page->objectName().toLower();
    for (const PageSlug &s : kSlugs) {
        if (page->objectName() == QLatin1String(s.objectName))
            slug = QLatin1String(s.slug);
    }
    return QStringLiteral("%1-%2").arg(position, 2, 10, QLatin1Char('0')).arg(slug);
}

} // namespace vandorelle::tools
