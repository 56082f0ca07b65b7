#pragma once

#include "protocol/port.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

// A broken property is a finding like a sanitizer report: print where, then abort so that
// libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);    \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

namespace vandorelle::fuzz {

// A line that takes every write: the exchanges may send whatever they like.
class AcceptingPort : public Port {
public:
    bool QueueText(const QByteArray &) override { return true; }
    bool isOpen() const override { return true; }
    QByteArray ReadAvailable() override { return {}; }
};

// The exchanges start timers, which need the application's event dispatcher. Nothing runs
// the event loop, so no timer ever fires during a run.
inline void ensureApplication(int *argc, char ***argv)
{
    if (!QCoreApplication::instance())
        new QCoreApplication(*argc, *argv);
}

} // namespace vandorelle::fuzz
