#include "protocol/session.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace vandorelle;

namespace {

// 1 MiB of the frames a read-all and the poll bring, all valid.
const QByteArray &stream()
{
    static const QByteArray bytes = [] {
        const QByteArray frames[] = {
            "start_sbp1,0,122,10,20,244,10,407,ende_",
            "start_sfs1,2,1,1,7,30,39,5,0,86,ende_",
            "start_sip1,0,1,122,1,120,40,8,21,314,ende_",
            "start_skd250,21,5,18,24,-3,5,-7,2,12,74,1,0,4,180,55,ende_",
            "start_smn07,Wohnzimmer  ende_",
            "start_sgz-1,67305985,0,128,ende_",
            "start_sdt07.12.26ende_",
            "start_sfi7.090ende_",
        };
        QByteArray out;
        for (std::size_t i = 0; out.size() < (1 << 20); ++i)
            out += frames[i % std::size(frames)];
        return out;
    }();
    return bytes;
}

struct Receiver {
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
};

void BM_ReceiveOneChunk(benchmark::State &state)
{
    const QByteArray &bytes = stream();
    for (auto _ : state) {
        state.PauseTiming();
        auto r = std::make_unique<Receiver>();
        state.ResumeTiming();
        r->session.receive(bytes, int(bytes.size()));
        benchmark::DoNotOptimize(r->session.RxCount);
        state.PauseTiming();
        r.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReceiveOneChunk)->Unit(benchmark::kMillisecond);

void BM_ReceiveByteByByte(benchmark::State &state)
{
    const QByteArray &bytes = stream();
    for (auto _ : state) {
        state.PauseTiming();
        auto r = std::make_unique<Receiver>();
        state.ResumeTiming();
        for (qsizetype i = 0; i < bytes.size(); ++i)
            r->session.receive(bytes.sliced(i, 1), 1);
        benchmark::DoNotOptimize(r->session.RxCount);
        state.PauseTiming();
        r.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReceiveByteByByte)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
