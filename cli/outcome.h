#pragma once

#include <QString>

namespace vandorelle::cli {

// The process's exit status; scripts branch on these, so the numbers never change.
enum class ExitCode : int {
    Success = 0,
    Usage = 1,
    PortUnavailable = 2,
    NoController = 3,
    Silence = 4,   // an exchange stopped before its end marker or acknowledgement
    Refused = 5,   // firmware below V7.000, or an unset controller clock for write
    FileError = 6, // a file cannot be read, parsed or written
    Different = 10, // diff: the two configurations differ
    Interrupted = 130,
};

// What a command ends with: its exit code and, on failure, the one line for stderr.
struct Outcome {
    ExitCode code = ExitCode::Success;
    QString message;

    static Outcome success() { return {}; }
    static Outcome failure(ExitCode code, const QString &message) { return {code, message}; }
    bool ok() const { return code == ExitCode::Success; }
};

} // namespace vandorelle::cli
