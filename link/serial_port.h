#pragma once

#include "protocol/port.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <stdexcept>

namespace vandorelle {

// The component's exception; what() carries one of the fixed English messages.
class EVaCommError : public std::runtime_error {
public:
    explicit EVaCommError(const QString &message, bool repeated = false)
        : std::runtime_error(message.toStdString()), m_message(message), m_repeated(repeated) {}
    EVaCommError(const QString &message, int systemError, const QString &remedy)
        : std::runtime_error(message.toStdString()), m_message(message), m_remedy(remedy),
          m_systemError(systemError) {}
    const QString &message() const { return m_message; }
    // The write buffer is still full from an earlier failure: the user has been told once
    // for this stall, and the handler only has to stop.
    bool repeated() const { return m_repeated; }
    // errno of a failed open (ENOENT for a device that is not there), else 0.
    int systemError() const { return m_systemError; }
    // What the user can do about a failed open, in German; may be empty.
    const QString &remedy() const { return m_remedy; }
    // The message with its remedy on the lines below: what a user is shown.
    QString text() const { return m_remedy.isEmpty() ? m_message : m_message + u'\n' + m_remedy; }

private:
    QString m_message;
    QString m_remedy;
    int m_systemError = 0;
    bool m_repeated = false;
};

enum class Baudrate { brUser, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200,
                      br38400, br56000, br57600, br115200, br128000, br256000 };
enum class Databits { db4, db5, db6, db7, db8 };
enum class Parity { paNone, paOdd, paEven, paMark, paSpace };
enum class Stopbits { sb1, sb15, sb2 };

struct TVaBuffers {
    int ReadSize = 4096;
    int WriteSize = 24096;
    int ReadTimeout = 1000;
    int WriteTimeout = 1000; // ms a full write buffer may block QueueText
};

// Bits of OnError's argument.
namespace LineError {
constexpr int RxOver = 0x0001;   // input queue overflowed
constexpr int Overrun = 0x0002;  // the UART lost a character
constexpr int Parity = 0x0004;
constexpr int Frame = 0x0008;
constexpr int Break = 0x0010;
constexpr int WriteFailed = 0x0100; // the device refused output
constexpr int Hangup = 0x8000;      // the far end went away (pty closed, adapter unplugged)
} // namespace LineError

// Port number n (1..8) names the device VANDORELLE_COM<n> when that is set, else /dev/ttyS<n-1>.
QString deviceForPort(int portNum);

// Serial port over POSIX termios. An event thread waits in poll() and hands each
// event to the UI thread synchronously; a write thread drains the write buffer.
class TVaComm : public QObject, public Port {
    Q_OBJECT
public:
    explicit TVaComm(QObject *parent = nullptr);
    ~TVaComm() override;

    // Throw EVaCommError with the component's messages.
    void Open();
    void Close();
    bool Active() const;

    // Throws on a full buffer after WriteTimeout. False when the port is closed or its line has
    // failed (OnError was raised); an empty text gives true on an open line, else false.
    bool QueueText(const QByteArray &bytes) override;
    bool isOpen() const override { return Active(); }
    // What the input queue holds, at most kMaxReadChunk bytes: a flooding line is taken in
    // bounded pieces, each its own event, so memory stays bounded and the window responsive.
    QByteArray ReadAvailable() override;
    static constexpr int kMaxReadChunk = 64 * 1024;
    // 0 while bytes are queued, in the driver's output queue, or still on the wire at the line
    // rate; else how long ago the last of them left.
    qint64 msSinceOutputDrained() const override;

    int PortNum() const;
    void setPortNum(int portNum);           // refused while open
    QString DeviceName() const;             // the path Open uses: the override, else PortNum's device
    void setDeviceOverride(const QString &path); // a full device path instead of PortNum (refused while open)
    void setBaudrate(Baudrate rate);
    void setUserBaudrate(int rate);
    void setDatabits(Databits bits);
    void setParity(Parity parity);
    void setStopbits(Stopbits bits);
    TVaBuffers &Buffers();                  // refused while open; the values are taken at Open
    const TVaBuffers &Buffers() const;

signals:
    void OnRxChar(int count);
    void OnError(int errors);
    void OnTxEmpty();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vandorelle
