#pragma once

#include <QString>

namespace vandorelle::cli {

// Results go to stdout; errors to stderr as one line each; progress to stderr only when
// it is a terminal and the user did not ask for quiet.
class Console {
public:
    explicit Console(bool quiet);
    ~Console();

    void out(const QString &line);
    void error(const QString &message);
    // Replaces the progress line in place.
    void progress(const QString &text);
    void endProgress();
    bool showsProgress() const { return m_progress; }

private:
    bool m_progress = false;
    bool m_progressShown = false;
    QString m_lastProgress;
};

} // namespace vandorelle::cli
