#include "sim/global_records.h"

#include <QByteArray>

#include <array>

namespace vandorelle::sim {

namespace {

constexpr int64_t kSoftGroupControlBit = 128;

constexpr std::array kLayouts = {
    GlobalRecordLayout{
        "szz", "rzz",
        [](const ConfigStore &s) -> int64_t { return s.Parameter.ZufallsZeitspanne + 2; },
        [](ConfigStore &s, int64_t w) { s.Parameter.ZufallsZeitspanne = int32_t(w - 2); }},
    GlobalRecordLayout{
        "sbh", "rbh",
        [](const ConfigStore &s) -> int64_t {
            return s.Parameter.BeschattungsHysterese + 2 + (s.SoftGZS ? kSoftGroupControlBit : 0);
        },
        [](ConfigStore &s, int64_t w) {
            s.SoftGZS = w >= kSoftGroupControlBit;
            if (s.SoftGZS) w -= kSoftGroupControlBit;
            s.Parameter.BeschattungsHysterese = int32_t(w - 2);
        }},
    GlobalRecordLayout{
        "soa", "roa",
        [](const ConfigStore &s) -> int64_t { return s.Parameter.Offset_AT + 95; },
        [](ConfigStore &s, int64_t w) { s.Parameter.Offset_AT = int32_t(w - 95); }},
    GlobalRecordLayout{
        "soi", "roi",
        [](const ConfigStore &s) -> int64_t { return s.Parameter.Offset_IT + 95; },
        [](ConfigStore &s, int64_t w) { s.Parameter.Offset_IT = int32_t(w - 95); }},
    GlobalRecordLayout{
        "shh", "rhh",
        [](const ConfigStore &s) -> int64_t { return s.Parameter.HeizungsHysterese + 1; },
        [](ConfigStore &s, int64_t w) { s.Parameter.HeizungsHysterese = int32_t(w - 1); }},
};

} // namespace

std::span<const GlobalRecordLayout> globalRecordLayouts() { return kLayouts; }

const GlobalRecordLayout *globalLayoutForReadTag(const QByteArray &tag)
{
    for (const auto &layout : kLayouts)
        if (tag == layout.readTag) return &layout;
    return nullptr;
}

const GlobalRecordLayout *globalLayoutForWriteTag(const QByteArray &tag)
{
    for (const auto &layout : kLayouts)
        if (tag == layout.writeTag) return &layout;
    return nullptr;
}

} // namespace vandorelle::sim
