#include "ui/week_overview.h"

#include "config/schedule_bar.h"
#include "config/schedule_items.h"
#include "ui/day_bar.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPalette>

namespace vandorelle {

WeekOverview::WeekOverview(const ConfigStore &store, QWidget *parent)
    : QGroupBox(QStringLiteral("Wochenübersicht Tag-/ Nacht-Temperatur"), parent), m_store(store)
{
    setObjectName(QStringLiteral("WochenUebersicht"));
    auto *grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    auto *inner = new QFrame(this);
    inner->setFrameShape(QFrame::StyledPanel);
    auto *rows = new QGridLayout(inner);
    rows->setContentsMargins(0, 2, 0, 2);
    rows->setVerticalSpacing(2);
    for (int d = 0; d < kWeekdays; ++d) {
        const QString day = schedule::weekdayText(d);
        auto *title = new QLabel(day, this);
        title->setObjectName(QStringLiteral("WochenUebersicht_Titel_") + day);
        grid->addWidget(title, d, 0);
        m_rows[d] = new DayBar(schedule::kWeekRow.unit, inner);
        m_rows[d]->setObjectName(day + QStringLiteral("_Balken"));
        rows->addWidget(m_rows[d], d, 0);
    }
    grid->addWidget(inner, 0, 1, kWeekdays, 1);
    setVisible(false);
}

QColor WeekOverview::upColour(bool cooling)
{
    return cooling ? QColor(Qt::cyan) : QColor(Qt::red);
}

QColor WeekOverview::downColour()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

void WeekOverview::draw(const Selection &selection)
{
    m_selection = selection;
    setVisible(selection.on);
    if (selection.motor < 0 || selection.motor >= kMotors)
        return;
    const auto week = schedule::weekSegments(m_store, selection.motor);
    for (int d = 0; d < kWeekdays; ++d) {
        m_rows[d]->setColours(upColour(selection.cooling), downColour());
        m_rows[d]->setSegments(week[d]);
    }
}

void WeekOverview::redraw()
{
    draw(selectionFromWindow());
}

QComboBox *WeekOverview::heatingBox(QPointer<QComboBox> &cache, const char *name) const
{
    if (!cache)
        cache = window()->findChild<QComboBox *>(QString::fromLatin1(name));
    return cache;
}

WeekOverview::Selection WeekOverview::selectionFromWindow() const
{
    Selection s = m_selection;
    if (QComboBox *motor = heatingBox(m_motorBox, "Heiz_Raum"))
        s.motor = motor->currentIndex();
    if (QComboBox *onOff = heatingBox(m_onOffBox, "Heiz_Ein_Aus"))
        s.on = onOff->currentIndex() == 0;
    if (QComboBox *mode = heatingBox(m_modeBox, "Heiz_Betriebsart"))
        s.cooling = mode->currentIndex() == 1;
    return s;
}

} // namespace vandorelle
