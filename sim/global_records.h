#pragma once

#include "config/store.h"

#include <cstdint>
#include <span>

namespace vandorelle::sim {

// A global parameter that travels as a single value ("szz" answer, " rzz" record).
struct GlobalRecordLayout {
    const char *readTag;
    const char *writeTag;
    int64_t (*encode)(const ConfigStore &store);
    void (*apply)(ConfigStore &store, int64_t wire);
};

std::span<const GlobalRecordLayout> globalRecordLayouts();
const GlobalRecordLayout *globalLayoutForReadTag(const QByteArray &tag);
const GlobalRecordLayout *globalLayoutForWriteTag(const QByteArray &tag);

} // namespace vandorelle::sim
