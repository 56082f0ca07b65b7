#pragma once

#include <QString>

namespace vandorelle::sim {

// A pseudo-terminal pair in raw 8-bit mode. The emulator talks on the master side;
// the tool opens the slave path as its serial port. The emulator keeps a slave
// descriptor of its own, so the master stays usable while the tool closes and
// reopens the port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;
    ~PseudoTerminal();

    bool open(QString *error);
    int masterFd() const { return master_; }
    QString slavePath() const { return slavePath_; }

    // Makes `path` a symbolic link to the slave; replaces an older link, never a file.
    bool createLink(const QString &path, QString *error);
    // Removes the link if it still points to this terminal.
    void removeLink();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString linkPath_;
};

} // namespace vandorelle::sim
