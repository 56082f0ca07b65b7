#include "protocol/send_all.h"

#include "protocol/pc_records.h"
#include "protocol/value_list.h"

#include <array>

namespace vandorelle {

namespace {

enum class Kind { ScheduleDay, Names, Groups, MotorRecords, Single, Finish };

using SingleRecord = PcRecord (*)(const ConfigStore &store, int randomSpan);
using NextState = int (*)(const DeviceFlags &flags);

struct Batch {
    int state;
    const char *caption; // UTF-8
    Kind kind;
    MotorTable table;     // MotorRecords
    SingleRecord record;  // Single
    int step;             // TxCount per record, or per motor in the per-motor batches
    NextState next;
};

using S = SendAllExchange;

template <int N>
int to(const DeviceFlags &) { return N; }

PcRecord roa(const ConfigStore &s, int) { return pc::outsideOffset(s); }
PcRecord ras(const ConfigStore &s, int) { return pc::alarmPattern(s); }
PcRecord rhh(const ConfigStore &s, int) { return pc::heatingHysteresis(s); }
PcRecord roi(const ConfigStore &s, int) { return pc::insideOffset(s); }
PcRecord rbh(const ConfigStore &s, int) { return pc::shadingHysteresis(s); }
PcRecord rzz(const ConfigStore &, int span) { return pc::randomSpan(span); }

int afterNames(const DeviceFlags &f) { return f.GzsPresent ? S::Groups : S::Reversing; }
int afterReversing(const DeviceFlags &f)
{
    return f.ShadingFamily || f.ConservatoryFamily ? S::Shading : S::PushButton;
}
int afterAlarm(const DeviceFlags &f)
{
    if (f.ConservatoryFamily)
        return S::Proportional;
    return f.TastPresent ? S::PushButton : S::ShadingHysteresis;
}

constexpr MotorTable kNoTable = MotorTable::Beschattung;

const Batch kBatches[] = {
    {S::Schedule, "Schaltzeiten ", Kind::ScheduleDay, kNoTable, nullptr, 27, nullptr},
    {S::Names, "Motor-Namen", Kind::Names, kNoTable, nullptr, 22, afterNames},
    {S::Groups, "GruppenZentralStrg.", Kind::Groups, kNoTable, nullptr, 8, to<S::Reversing>},
    {S::Reversing, "Jalousie-Parameter", Kind::MotorRecords, MotorTable::Reversierung, nullptr, 19, afterReversing},
    {S::Shading, "Beschattungsparameter", Kind::MotorRecords, MotorTable::Beschattung, nullptr, 30, to<S::Dawn>},
    {S::Dawn, "Dämmerungssteuerung Morgen", Kind::MotorRecords, MotorTable::DaemmerungMorgen, nullptr, 23, to<S::Dusk>},
    {S::Dusk, "Dämmerungssteuerung Abend", Kind::MotorRecords, MotorTable::DaemmerungAbend, nullptr, 23, to<S::WindState>},
    {S::WindState, "Wind-Parameter", Kind::MotorRecords, MotorTable::Wind, nullptr, 18, to<S::Rain>},
    {S::Rain, "Regen-Parameter", Kind::MotorRecords, MotorTable::Regen, nullptr, 15, to<S::OutsideOffset>},
    {S::OutsideOffset, "Offset Außentemperatur", Kind::Single, kNoTable, roa, 12, to<S::Alarm>},
    {S::Alarm, "Alarm-Setup", Kind::Single, kNoTable, ras, 11, afterAlarm},
    {S::Proportional, "Proportionale Temperatur-Strg.", Kind::MotorRecords, MotorTable::ProportionaleTemperatursteuerung, nullptr, 37, to<S::Inside>},
    {S::Inside, "Innentemperatur-Strg.", Kind::MotorRecords, MotorTable::InnenTemperatursteuerung, nullptr, 28, to<S::Heating>},
    {S::Heating, "Heizungs-Steuerung", Kind::MotorRecords, MotorTable::HeizungsSteuerung, nullptr, 18, to<S::HeatingHysteresis>},
    {S::HeatingHysteresis, "Heiz-Hysterese", Kind::Single, kNoTable, rhh, 8, to<S::Humidity>},
    {S::Humidity, "Luftfeuchtigkeit", Kind::MotorRecords, MotorTable::FeuchtigkeitsSteuerung, nullptr, 20, to<S::Outside>},
    {S::Outside, "Außentemperatur-Strg.", Kind::MotorRecords, MotorTable::AussenTemperatursteuerung, nullptr, 28, to<S::InsideOffset>},
    {S::InsideOffset, "Offset Innentemp.", Kind::Single, kNoTable, roi, 8, to<S::PushButton>},
    {S::PushButton, "Tast-Automatik-Parameter", Kind::MotorRecords, MotorTable::TastAutomatik, nullptr, 12, to<S::ShadingHysteresis>},
    {S::ShadingHysteresis, "Beschattungs-Hysterese", Kind::Single, kNoTable, rbh, 10, to<S::RandomSpan>},
    {S::RandomSpan, "Zufalls-Zeitspanne", Kind::Single, kNoTable, rzz, 10, to<S::End>},
    {S::End, "", Kind::Finish, kNoTable, nullptr, 0, to<S::End>},
};

const Batch *batchOf(int state)
{
    for (const auto &b : kBatches) {
        if (b.state == state)
            return &b;
    }
    return nullptr;
}

const std::array<const char *, 7> kWeekdayNames = {
    "Montag    ", "Dienstag  ", "Mittwoch  ", "Donnerstag", "Freitag   ", "Samstag   ", "Sonntag   ",
};

// A group entry lives on each of its days but goes out once, from the group's first day;
// the controller copies it to the others.
bool sentOnDay(const SchaltzeitEntry &e, int weekday)
{
    if (!e.inUse())
        return false;
    switch (e.Gruppe) {
    case 1: return true;
    case 2: return weekday == 6;
    case 5:
    case 7: return weekday == 1;
    default: return false;
    }
}

// A payload without a number reads as 0; one that is not a number counts as a refusal.
bool acknowledgedOk(const QString &payload)
{
    QString rest = payload;
    ValueList values{};
    return ParseValueList(rest, values) && values[0] == 0;
}

} // namespace

SendAllExchange::SendAllExchange(Session &session, QObject *parent)
    : QObject(parent), m_session(session), m_watch(session, kDefaultTimeoutMs)
{
    connect(&m_watch, &SilenceWatch::expired, this, &SendAllExchange::onExpired);
    connect(&m_session, &Session::frameHandled, this, &SendAllExchange::onFrame);
}

int SendAllExchange::expectedCharacters(const DeviceFlags &flags)
{
    if (flags.ShadingFamily)
        return 14472;
    if (flags.ConservatoryFamily)
        return 16006;
    return 5280;
}

QString SendAllExchange::clockNotSetMessage()
{
    return QStringLiteral(
        "Bitte warten Sie, bis das Funk-Zeitsignal (DCF77) entschlüsselt wurde. Erst wenn Datum und "
        "Uhrzeit richtig angezeigt werden, ist es möglich, die Daten zur Steuerung zu senden.");
}

namespace {
const QString kSending = QStringLiteral("Das Senden der Daten");
const QString kUnsentText = QStringLiteral(
    "Die Steuerung hat nicht alle Daten erhalten; ihr Schaltzeiten-Speicher wurde bereits "
    "gelöscht. Alle Daten bleiben zum Senden vorgemerkt: Bitte senden Sie die Daten erneut.");
} // namespace

QString SendAllExchange::timeoutMessage()
{
    return gaveUpText(SilenceWatch::Reason::Silence, kSending) + QStringLiteral("\n\n") + kUnsentText;
}

QString SendAllExchange::lineLostMessage()
{
    return gaveUpText(SilenceWatch::Reason::LineLost, kSending) + QStringLiteral("\n\n") + kUnsentText;
}

QString SendAllExchange::refusedMessage(const QStringList &captions, bool scheduleRefused)
{
    QString text = QStringLiteral("Die Steuerung hat diese Daten nicht angenommen:\n%1\n\n"
                                  "Sie bleiben zum Senden vorgemerkt.")
                       .arg(captions.join(QStringLiteral(", ")));
    if (scheduleRefused)
        text += QStringLiteral(" Die Schaltzeiten sind in der Steuerung unvollständig und müssen "
                               "vollständig erneut gesendet werden.");
    return text + QStringLiteral(" Bitte senden Sie die Daten erneut.");
}

QStringList SendAllExchange::refusedBatches() const
{
    QStringList captions;
    for (const SentBatch &b : m_refused) {
        if (!captions.contains(b.caption))
            captions << b.caption;
    }
    return captions;
}

SendAllExchange::StartResult SendAllExchange::start()
{
    if (m_session.noConnection)
        return StartResult::NoConnection;
    if (m_running || m_session.sendInProgress || m_session.readAllRunning)
        return StartResult::Busy;
    if (m_session.status.panel(StatusModel::Date) == QLatin1String("01.01.00"))
        return StartResult::ClockNotSet;

    m_running = true;
    m_session.sendInProgress = true;
    m_refused.clear();
    emit started(expectedCharacters(m_session.flags));

    m_session.status.setPanel(StatusModel::Error, QString());
    m_session.RxCount = 0;
    m_session.TxCount = 0;
    const QString wipe = QStringLiteral(" Bestehende Daten löschen ");
    m_session.status.setPanel(StatusModel::Activity, wipe);
    m_sent = SentBatch{};
    m_sent.caption = wipe.trimmed();
    m_sent.schedule = true;
    try {
        sendRecord(pc::scheduleInitialise());
    } catch (...) {
        // A stopped line: the send has not begun, nothing the user has is touched.
        end();
        emit finished(false, QString());
        throw;
    }
    step(24);

    m_weekday = 0;
    m_state = Schedule;
    m_watch.start();
    return StartResult::Started;
}

void SendAllExchange::onFrame(const QString &tag, const QString &payload)
{
    if (tag == QLatin1String("stc"))
        OnAcknowledge(payload);
}

void SendAllExchange::OnAcknowledge(const QString &payload)
{
    // After a finished send the state is End, whose batch clears every pending mark:
    // a stray acknowledgement would silently drop the user's unsent edits.
    if (!m_running)
        return;
    m_watch.progress();
    if (!acknowledgedOk(payload)) {
        m_session.status.setPanel(StatusModel::Error, QStringLiteral("Fehler %1").arg(m_state));
        m_refused.push_back(m_sent);
    }
    try {
        runBatch();
    } catch (const std::exception &e) {
        // Inside the receive event: the send ends here, and the user learns why once.
        fail(QString::fromStdString(e.what()), QString::fromStdString(e.what()) + QStringLiteral("\n\n") + kUnsentText);
    }
}

void SendAllExchange::runBatch()
{
    const Batch *batch = batchOf(m_state);
    if (!batch)
        return;
    if (batch->kind == Kind::Finish) {
        finish();
        return;
    }

    QString caption = QString::fromUtf8(batch->caption);
    if (batch->kind == Kind::ScheduleDay) {
        ++m_weekday;
        if (m_weekday <= 7)
            caption += QString::fromLatin1(kWeekdayNames[m_weekday - 1]);
    }
    m_session.status.setPanel(StatusModel::Activity, caption);
    emit batchStarted(caption);
    m_sent = SentBatch{};
    m_sent.caption = caption.simplified();
    m_sent.schedule = batch->kind == Kind::ScheduleDay;
    m_sent.table = batch->table;

    const ConfigStore &store = m_session.store;
    switch (batch->kind) {
    case Kind::ScheduleDay:
        if (m_weekday >= 8) {
            sendRecord(pc::scheduleEnd());
            m_state = Names;
            emit scheduleSent();
        } else {
            sendScheduleDay();
        }
        return; // the schedule state moves on by itself
    case Kind::Names:
        for (int motor = 1; motor <= kMotors; ++motor) {
            sendRecord(pc::motorName(store, motor));
            step(batch->step);
        }
        break;
    case Kind::Groups:
        emit collectGroups();
        sendRecord(pc::groupControl(store));
        step(batch->step);
        break;
    case Kind::MotorRecords:
        sendMotorRecords(batch->table, batch->step);
        break;
    case Kind::Single: {
        int span = randomSpanCode ? randomSpanCode() : -1;
        if (span < 0)
            span = store.Parameter.ZufallsZeitspanne;
        sendRecord(batch->record(store, span));
        step(batch->step);
        break;
    }
    case Kind::Finish:
        break;
    }
    m_state = batch->next(m_session.flags);
}

void SendAllExchange::sendScheduleDay()
{
    const ConfigStore &store = m_session.store;
    for (int motor = 1; motor <= kMotors; ++motor) {
        for (int number = 1; number <= kEntries; ++number) {
            const SchaltzeitEntry &e = store.entry(m_weekday, motor, number);
            if (!sentOnDay(e, m_weekday))
                continue;
            sendRecord(pc::scheduleEntry(e, m_weekday, motor, number));
            step(27);
        }
    }
    sendRecord(pc::scheduleDayEnd());
}

void SendAllExchange::sendMotorRecords(MotorTable table, int characters)
{
    ConfigStore &store = m_session.store;
    // The controller ends a per-motor batch on motor 32, so that one always goes out.
    store.senden(table, kMotors - 1) = 1;
    for (int motor = 1; motor <= kMotors; ++motor) {
        if (store.senden(table, motor - 1) == 1) {
            m_sent.motors.push_back(motor);
            sendRecord(pc::motorRecord(table, store, motor, m_session.flags.TastFunk));
        }
        step(characters);
    }
}

void SendAllExchange::sendRecord(const QStringList &pieces)
{
    for (const QString &p : pieces)
        m_session.send(p);
}

void SendAllExchange::step(int characters)
{
    m_session.addTx(characters);
    emit progress(m_session.TxCount);
}

void SendAllExchange::onExpired(SilenceWatch::Reason reason)
{
    if (!m_running)
        return;
    if (reason == SilenceWatch::Reason::LineLost)
        fail(kVerbindungUnterbrochen, lineLostMessage());
    else
        fail(kZeitueberschreitung, timeoutMessage());
}

// The controller's schedule memory is already wiped: everything must go again.
void SendAllExchange::fail(const QString &panelText, const QString &message)
{
    m_session.store.markAllPending();
    m_session.status.setPanel(StatusModel::Error, panelText);
    end();
    emit finished(false, message);
}

void SendAllExchange::finish()
{
    end();
    ConfigStore &store = m_session.store;
    store.clearAllPending();
    bool scheduleRefused = false;
    for (const SentBatch &b : m_refused) {
        scheduleRefused = scheduleRefused || b.schedule;
        for (int motor : b.motors)
            store.senden(b.table, motor - 1) = 1;
    }
    if (scheduleRefused) {
        for (SchaltzeitEntry &e : store.Schaltzeit)
            e.Senden = 1;
    }
    if (m_refused.empty())
        emit finished(true, QString());
    else
        emit finished(false, refusedMessage(refusedBatches(), scheduleRefused));
}

void SendAllExchange::end()
{
    m_watch.stop();
    m_session.status.setPanel(StatusModel::Activity, QString());
    m_session.RxCount += 1;
    m_running = false;
    m_session.sendInProgress = false;
}

} // namespace vandorelle
