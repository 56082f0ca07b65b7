#include "sim/record_batch.h"

namespace vandorelle::sim {

ConfigStore &RecordBatch::stage(const ConfigStore &committed, const QByteArray &kind, int *dropped)
{
    *dropped = 0;
    if (staged_ && kind != kind_) {
        *dropped = records_;
        close(false);
    }
    if (!staged_) {
        staged_ = committed;
        kind_ = kind;
    }
    ++records_;
    return *staged_;
}

std::optional<ConfigStore> RecordBatch::close(bool accepted)
{
    std::optional<ConfigStore> result;
    if (accepted) result = std::move(staged_);
    staged_.reset();
    kind_.clear();
    records_ = 0;
    refused_ = 0;
    return result;
}

} // namespace vandorelle::sim
