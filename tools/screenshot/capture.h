#pragma once

#include "protocol/sensor_quantities.h"

#include <QSize>
#include <QString>
#include <QStringList>

namespace vandorelle {
class TQuorvix;
class TabPage;
}

namespace vandorelle::tools {

// Drives a started window as a user would, each step bounded in time. Every step
// returns false and adds to problems() when it did not come to its end.
class WindowDriver {
public:
    explicit WindowDriver(TQuorvix &window) : w(window) {}

    bool waitForConnection(int boundMs = 10000);
    bool readAll(int boundMs = 30000);
    bool readLogbook(int boundMs = 30000);
    // Makes the page current and picks motor `motorIndex` in each of its motor selectors,
    // so that the detail controls of the editors show.
    void showPage(TabPage *page, int motorIndex = 0);
    // The whole window as it looks now.
    bool grabTo(const QString &path);
    // Keeps the window polling until its history clock has run `simulatedMs`.
    bool recordHistory(qint64 simulatedMs, int boundMs);
    // The history window on the quantity over 24 hours, with the thresholds of the motors
    // the editors show.
    bool grabHistory(Quantity quantity, const QString &path);

    QStringList problems() const { return m_problems; }

private:
    bool pumpUntil(const char *what, int boundMs, bool (*done)(TQuorvix &));
    TQuorvix &w;
    QStringList m_problems;
};

// Page object name -> the file stem used for its picture ("02-beschattung").
QString pictureName(int position, const TabPage *page);

} // namespace vandorelle::tools
