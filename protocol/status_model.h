#pragma once

#include <QObject>
#include <QString>

#include <array>

namespace vandorelle {

// The 14 panels of the status bar as plain texts. Protocol and link code write
// panels; the window shows them.
class StatusModel : public QObject {
    Q_OBJECT
public:
    static constexpr int kPanels = 14;
    enum Panel {
        Model = 0,
        Firmware = 1,
        Date = 2,
        Time = 3,
        Unused = 4,
        Error = 5,
        Activity = 6,
        Sun = 7,
        WindPanel = 8,
        OutsideTemp = 9,
        InsideTemp = 10,
        Received = 11,
        Transmitted = 12,
        LastFrame = 13,
    };

    using QObject::QObject;

    const QString &panel(int index) const { return m_panels.at(index); }
    void setPanel(int index, const QString &text)
    {
        if (m_panels.at(index) == text)
            return;
        m_panels.at(index) = text;
        emit panelChanged(index, text);
    }
    void clearAll()
    {
        for (int i = 0; i < kPanels; ++i)
            setPanel(i, QString());
    }

signals:
    void panelChanged(int index, const QString &text);

private:
    std::array<QString, kPanels> m_panels{};
};

inline const QString kKeineVerbindung = QStringLiteral("Keine Verbindung");

} // namespace vandorelle
