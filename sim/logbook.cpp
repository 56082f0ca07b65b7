#include "sim/logbook.h"

#include "sim/logbook_history.h"

#include <algorithm>

namespace vandorelle::sim {

void Logbook::add(const LogEntry &entry)
{
    entries_.push_front(entry);
    if (int(entries_.size()) > kCapacity) entries_.pop_back();
}

void Logbook::addAt(const QDateTime &when, int motor, int direction, int causeCode, int subCode)
{
    add({motor, direction, when.date().day(), when.date().month(), causeCode, when.time().hour(),
         when.time().minute(), subCode});
}

void Logbook::clear()
{
    entries_.clear();
    readPointer_ = 0;
}

std::vector<NumberedEntry> Logbook::nextPage()
{
    std::vector<NumberedEntry> page;
    const int end = std::min(size(), readPointer_ + kPageSize);
    for (int i = readPointer_; i < end; ++i) page.emplace_back(i + 1, entries_[i]);
    readPointer_ = std::max(readPointer_, end);
    return page;
}

std::vector<NumberedEntry> Logbook::all() const
{
    std::vector<NumberedEntry> list;
    for (int i = 0; i < size(); ++i) list.emplace_back(i + 1, entries_[i]);
    return list;
}

void Logbook::fillHistory(uint32_t seed, int count, const QDateTime &now)
{
    clear();
    for (const LogEntry &entry : generateHistory(seed, count, now)) add(entry);
}

} // namespace vandorelle::sim
