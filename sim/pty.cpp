#include "sim/pty.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace vandorelle::sim {

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

bool makeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    removeLink();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::open(QString *error)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        if (error) *error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        if (error) *error = systemError("grantpt/unlockpt");
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        if (error) *error = systemError("ptsname");
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0) {
        if (error) *error = systemError("open slave");
        return false;
    }
    // Without echo the master would read its own frames back.
    if (!makeRaw(slave_)) {
        if (error) *error = systemError("tcsetattr");
        return false;
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    return true;
}

bool PseudoTerminal::createLink(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        if (!info.isSymLink()) {
            if (error) *error = QStringLiteral("%1 exists and is not a link; not replacing it").arg(path);
            return false;
        }
        QFile::remove(path);
    }
    const QByteArray target = slavePath_.toLocal8Bit();
    const QByteArray link = path.toLocal8Bit();
    if (::symlink(target.constData(), link.constData()) != 0) {
        if (error) *error = systemError("symlink");
        return false;
    }
    linkPath_ = path;
    return true;
}

void PseudoTerminal::removeLink()
{
    if (linkPath_.isEmpty()) return;
    const QFileInfo info(linkPath_);
    if (info.isSymLink() && info.symLinkTarget() == QFileInfo(slavePath_).absoluteFilePath())
        QFile::remove(linkPath_);
    linkPath_.clear();
}

} // namespace vandorelle::sim
