#include "protocol/session.h"

#include "config/text_codec.h"
#include "protocol/record_decoders.h"

#include <QScopeGuard>

namespace vandorelle {

Session::Session(ConfigStore &s, StatusModel &st, QObject *parent)
    : QObject(parent), store(s), status(st)
{
}

bool Session::send(const QString &text)
{
    if (!m_port || !m_port->isOpen())
        return false;
    return m_port->QueueText(toWindows1252(text));
}

void Session::addTx(int characters)
{
    TxCount = int32_t(uint32_t(TxCount) + uint32_t(characters));
    status.setPanel(StatusModel::Transmitted, QStringLiteral("T %1").arg(TxCount));
}

void Session::receive(const QByteArray &bytes, int count)
{
    m_receiver.append(bytes);
    m_uncounted += count;
    if (m_receiving)
        return; // the running event cuts them, in order
    m_receiving = true;
    const auto done = qScopeGuard([this] { m_receiving = false; });

    // The counters include every byte handed over before anyone hears of a frame.
    bool counted = false;
    const auto countIfDue = [&] {
        if (!counted || m_uncounted != 0)
            countReceived(std::exchange(m_uncounted, 0));
        counted = true;
    };
    // Each frame is announced before the next one is decoded, so what the exchanges do in
    // between (finish, ask again, send the next batch) does not depend on how the bytes
    // were chunked on their way in.
    while (const auto cut = m_receiver.next()) {
        if (cut->kind == FrameReceiver::Cut::Garbage) {
            status.setPanel(StatusModel::LastFrame, QStringLiteral(" del ") + LastPayload);
            continue;
        }
        const Frame f = handleFrame(*cut);
        countIfDue(); // a listener may have fed more bytes in
        emit frameHandled(f.tag, f.payload, f.accepted);
    }
    m_receiver.compact();
    countIfDue();
}

void Session::receiveAvailable()
{
    if (!m_port)
        return;
    const QByteArray bytes = m_port->ReadAvailable();
    receive(bytes, int(bytes.size()));
}

void Session::countReceived(int count)
{
    RxCount = int32_t(uint32_t(RxCount) + uint32_t(count));
    status.setPanel(StatusModel::Received, QStringLiteral("R ") + QString::number(RxCount));
    emit rxCountChanged(RxCount);
    // Byte-sized events are common: format the transmit count only when it changed.
    if (TxCount != m_shownTxCount || m_shownTxText.isEmpty()) {
        m_shownTxCount = TxCount;
        m_shownTxText = QStringLiteral("T ") + QString::number(TxCount);
    }
    status.setPanel(StatusModel::Transmitted, m_shownTxText);
}

Session::Frame Session::handleFrame(const FrameReceiver::Cut &cut)
{
    Frame frame{fromWindows1252(cut.tag), fromWindows1252(cut.payload)};
    LastPayload = frame.payload;
    status.setPanel(StatusModel::LastFrame,
                    frame.tag + QStringLiteral("  ") + blankControlCharacters(frame.payload));
    if (const RecordKind *kind = findRecordKind(cut.tag))
        frame.accepted = dispatch(*kind, frame.tag);
    return frame;
}

bool Session::dispatch(const RecordKind &kind, const QString &tag)
{
    ValueList values{};
    bool parsed = true;
    if (kind.payload != PayloadKind::Text) {
        const NumberForm form = kind.payload == PayloadKind::Masks ? NumberForm::Mask32 : NumberForm::Signed32;
        parsed = ParseValueList(LastPayload, values, form);
        if (!parsed)
            values.fill(0);
    }

    if (!kind.caption.empty()) {
        status.setPanel(StatusModel::Activity, recordCaption(kind, values));
        if (kind.progressLine)
            emit readProgressLine(QStringLiteral("    Lese Daten von Steuerung ... ")
                                  + status.panel(StatusModel::Activity));
    }
    // A number the wire cannot carry drops the frame; the next one is handled normally.
    if (!parsed) {
        status.setPanel(StatusModel::Error, QStringLiteral("Fehler Wert ") + tag);
        return false;
    }

    DecodeResult result;
    if (kind.checkCount > 0 && !ChecksumOk(values, kind.checkCount)) {
        result = DecodeResult::reject();
    } else {
        RecordContext ctx{store, status, live, flags, firmwareNumber, firmwareKnown};
        if (kind.decodeValues)
            result = kind.decodeValues(ctx, values);
        else if (kind.decodeText)
            result = kind.decodeText(ctx, LastPayload);
    }
    if (result.rejected)
        status.setPanel(StatusModel::Error, result.error.isEmpty() ? checkErrorText(kind, values) : result.error);

    switch (result.signal) {
    case RecordSignal::None: break;
    case RecordSignal::ScheduleStart: emit scheduleStartMarker(); break;
    case RecordSignal::ScheduleEnd: emit scheduleEndMarker(); break;
    case RecordSignal::TimeSignalEnded: emit timeSignalEnded(); break;
    }
    if (kind.followUp)
        emit followUp(*kind.followUp);
    return !result.rejected;
}

} // namespace vandorelle
