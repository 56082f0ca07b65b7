#pragma once

#include "config/store.h"

#include <QByteArray>

#include <optional>

namespace vandorelle::sim {

// The records between two acknowledgements. The controller takes a batch whole or not
// at all: its records go into a copy of the configuration, which replaces the
// configuration only when the batch is acknowledged with 0.
class RecordBatch {
public:
    // Where a record of `kind` (its tag) goes. An unfinished batch of another kind is
    // dropped first; `dropped` says how many records it held.
    ConfigStore &stage(const ConfigStore &committed, const QByteArray &kind, int *dropped);
    void refuseRecord() { ++refused_; }
    int refused() const { return refused_; }
    int records() const { return records_; }
    // Ends the batch: the configuration with its records when accepted, nothing otherwise.
    std::optional<ConfigStore> close(bool accepted);

private:
    std::optional<ConfigStore> staged_;
    QByteArray kind_;
    int records_ = 0;
    int refused_ = 0;
};

} // namespace vandorelle::sim
