// The receive path as the serial port drives it: bytes from the line, in chunks of any size,
// through the frame receiver into the record decoders, the store and the exchanges.
//
// Input: byte 0 device flags, byte 1 exchange (bits 0-1: 0 none, 1 read-all, 2 send-all; bit 2:
// give every record a matching check value first), byte 2 seed of the chunk sizes; the rest is
// what the controller sent. Without the repair few mutated records pass their check, and the
// values behind it would stay unexplored.
//
// Besides the sanitizers it checks that the chunking never changes what is decoded, that the
// receive buffer stays bounded, and that the overview lists and bars redrawn after each
// record can show whatever was decoded.

#include "fuzz/fuzz_support.h"
#include "fuzz/views.h"
#include "protocol/device_family.h"
#include "protocol/read_all.h"
#include "protocol/record_decoders.h"
#include "protocol/send_all.h"
#include "protocol/session.h"

#include <QList>
#include <QPair>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace vandorelle;

namespace {

constexpr qsizetype kMaxChunk = 64;
// Up to this size no frame can outgrow the receiver's limit, so chunking must not matter.
constexpr qsizetype kComparableInput = FrameReceiver::kMaxFrameLength - 96;

enum class Exchange { None, ReadAll, SendAll };

DeviceFlags flagsFrom(uint8_t bits)
{
    DeviceFlags f;
    f.ShadingFamily = bits & 0x01;
    f.ConservatoryFamily = bits & 0x02;
    f.TastPresent = bits & 0x04;
    f.TastFunk = bits & 0x08;
    f.GzsPresent = bits & 0x10;
    f.BankModel = !(bits & 0x20);
    f.EightEntries = !(bits & 0x40);
    return f;
}

// The payload with value n+1 replaced by the sum of values 1..n, when they are numbers whose
// sum a 32-bit value can carry.
QByteArray withCheckValue(const QByteArray &payload, int n)
{
    QList<QByteArray> pieces = payload.split(',');
    if (pieces.size() - 1 < n)
        return payload;
    int64_t sum = 0;
    for (int i = 0; i < n; ++i) {
        const auto v = parseInt32(QString::fromLatin1(pieces[i]));
        if (!v)
            return payload;
        sum += *v;
    }
    if (sum < INT32_MIN || sum > INT32_MAX)
        return payload;
    if (pieces.size() - 1 > n)
        pieces[n] = QByteArray::number(sum);
    else
        pieces.insert(n, QByteArray::number(sum));
    return pieces.join(',');
}

QByteArray withCheckValues(const QByteArray &wire)
{
    QByteArray out;
    qsizetype at = 0;
    for (;;) {
        const qsizetype start = wire.indexOf(FrameReceiver::kStart, at);
        const qsizetype end = start < 0 ? -1 : wire.indexOf(FrameReceiver::kEnd, start);
        if (end < 0)
            break;
        const qsizetype payloadFrom = start + FrameReceiver::kStart.size() + 3;
        const RecordKind *kind = payloadFrom <= end ? findRecordKind(QByteArrayView(wire).sliced(payloadFrom - 3, 3)) : nullptr;
        if (kind && kind->checkCount > 0) {
            out += wire.mid(at, payloadFrom - at);
            out += withCheckValue(wire.mid(payloadFrom, end - payloadFrom), kind->checkCount);
            at = end;
        } else {
            out += wire.mid(at, end - at);
            at = end;
        }
        out += FrameReceiver::kEnd.toByteArray();
        at += FrameReceiver::kEnd.size();
    }
    return out + wire.mid(at);
}

bool sameLive(const LiveValues &a, const LiveValues &b)
{
    return a.luxCurrent == b.luxCurrent && a.luxMean == b.luxMean && a.insideActual == b.insideActual
        && a.insideMin == b.insideMin && a.insideMax == b.insideMax && a.outsideActual == b.outsideActual
        && a.outsideMin == b.outsideMin && a.outsideMax == b.outsideMax && a.aktWind == b.aktWind
        && a.windSpeed == b.windSpeed && a.maxWind == b.maxWind && a.alarmStatus == b.alarmStatus
        && a.regenStatus == b.regenStatus && a.relFeuchte == b.relFeuchte && a.received == b.received;
}

QByteArrayView fromFirstStart(QByteArrayView pending)
{
    const qsizetype at = pending.indexOf(FrameReceiver::kStart);
    return at < 0 ? pending : pending.sliced(at);
}

struct Rig {
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    fuzz::AcceptingPort port;
    ReadAllExchange readAll{session};
    SendAllExchange sendAll{session};
    QList<QPair<QString, QString>> frames;

    Rig(const DeviceFlags &flags, Exchange exchange)
    {
        session.setPort(&port);
        session.flags = flags;
        session.noConnection = false;
        QObject::connect(&session, &Session::frameHandled, [this](const QString &tag, const QString &payload) {
            frames.append({tag, payload});
        });
        if (exchange == Exchange::ReadAll)
            FUZZ_CHECK(readAll.start());
        else if (exchange == Exchange::SendAll)
            FUZZ_CHECK(sendAll.start() == SendAllExchange::StartResult::Started);
    }

    void feed(const QByteArray &bytes) { session.receive(bytes, int(bytes.size())); }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::ensureApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const DeviceFlags flags = flagsFrom(data[0]);
    const Exchange exchange = Exchange((data[1] & 3) % 3);
    uint32_t seed = data[2] | 0x100u;
    QByteArray wire(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));
    if (data[1] & 4)
        wire = withCheckValues(wire);

    auto chunked = std::make_unique<Rig>(flags, exchange);
    for (qsizetype at = 0; at < wire.size();) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const qsizetype n = std::min<qsizetype>(1 + seed % kMaxChunk, wire.size() - at);
        chunked->feed(wire.mid(at, n));
        at += n;
        // A frame waits for its end marker at most this long; garbage is not kept.
        FUZZ_CHECK(chunked->session.ReceiveBuffer().size() <= FrameReceiver::kMaxFrameLength + 2 * kMaxChunk);
    }
    // The window reads the family from the model string on its next tick.
    (void)evaluateModel(chunked->status.panel(StatusModel::Model));
    fuzz::drawEveryView(chunked->store);

    if (wire.size() > kComparableInput)
        return 0;
    auto whole = std::make_unique<Rig>(flags, exchange);
    if (!wire.isEmpty()) // the port reports no empty reads
        whole->feed(wire);
    FUZZ_CHECK(whole->frames == chunked->frames);
    FUZZ_CHECK(whole->store == chunked->store);
    FUZZ_CHECK(sameLive(whole->session.live, chunked->session.live));
    FUZZ_CHECK(whole->session.RxCount == chunked->session.RxCount);
    // Stray bytes in front of an unfinished frame may or may not have been dropped yet.
    FUZZ_CHECK(fromFirstStart(whole->session.ReceiveBuffer()) == fromFirstStart(chunked->session.ReceiveBuffer()));
    // The received count is shown as of the last receive event: the step an exchange adds to
    // it at its end shows with the next one.
    for (int p = 0; p < StatusModel::kPanels; ++p)
        FUZZ_CHECK(p == StatusModel::Received || whole->status.panel(p) == chunked->status.panel(p));
    return 0;
}
