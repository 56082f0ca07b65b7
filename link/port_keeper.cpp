#include "link/port_keeper.h"

#include "link/serial_devices.h"

#include <cerrno>

namespace vandorelle {

PortKeeper::PortKeeper(TVaComm &port, QObject *parent) : QObject(parent), m_port(port)
{
    m_retry.setInterval(kRetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &PortKeeper::tryAgain);
    connect(&m_port, &TVaComm::OnError, this, &PortKeeper::onLineError);
}

void PortKeeper::choose(const PortChoice &choice)
{
    m_retry.stop();
    m_port.Close();
    if (choice.isDevice()) {
        m_port.setDeviceOverride(choice.devicePath);
    } else {
        m_port.setDeviceOverride(QString());
        m_port.setPortNum(choice.portNum);
    }
    m_choice = choice;
    m_reopenPath = m_port.DeviceName();
    m_port.setBaudrate(Baudrate::br9600);
    m_port.setDatabits(Databits::db8);
    m_port.setParity(Parity::paNone);
    m_port.setStopbits(Stopbits::sb1);
}

void PortKeeper::open()
{
    try {
        m_port.Open();
    } catch (const EVaCommError &e) {
        if (e.systemError() == ENOENT && m_reopening)
            m_retry.start();
        throw;
    }
    openedNow();
}

void PortKeeper::openedNow()
{
    // The node of a USB adapter may get another number when it comes back; its by-id name not.
    const QString byId = byIdPathFor(m_port.DeviceName());
    if (!byId.isEmpty())
        m_reopenPath = byId;
}

void PortKeeper::setReopening(bool on)
{
    m_reopening = on;
    if (!on)
        m_retry.stop();
}

void PortKeeper::onLineError(int errors)
{
    if (!(errors & LineError::Hangup) || !m_reopening || m_retry.isActive())
        return;
    emit deviceLost();
    // Closed from the timer, not inside the port's own event.
    m_retry.start();
}

void PortKeeper::tryAgain()
{
    m_port.Close();
    // Whatever stands between us and the device now (a node udev has not handed to its group
    // yet, a program that grabbed it) may pass: keep trying quietly.
    try {
        if (m_port.DeviceName() != m_reopenPath)
            m_port.setDeviceOverride(m_reopenPath);
        m_port.Open();
    } catch (const EVaCommError &) {
        return;
    }
    m_retry.stop();
    openedNow();
    emit deviceBack();
}

} // namespace vandorelle
