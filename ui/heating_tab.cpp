#include "ui/heating_tab.h"

#include "config/editor_fields.h"
#include "config/heating_items.h"
#include "config/heating_lines.h"
#include "ui/automation_editor.h"
#include "ui/help_box.h"
#include "ui/main_window.h"
#include "ui/week_overview.h"
#include "ui/window_style.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vandorelle {

using Page = HeizungTab;

namespace {

QComboBox *dropDown(const char *name, const QStringList &items, const char *hint, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    if (hint)
        box->setToolTip(QString::fromUtf8(hint));
    return box;
}

QLabel *namedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// The heating editor's boxes and captions as its table gives them.
QComboBox *specBox(const char *name, QWidget *parent)
{
    const FieldSpec &f = *heatingSpec().field(name);
    return dropDown(name, f.items(), f.hint, parent);
}

QLabel *specLabel(const char *name, QWidget *parent)
{
    return namedLabel(name, QString::fromUtf8(heatingSpec().caption(name)->caption), parent);
}

// Shows a stored code; a code outside the box's list leaves the box without a selection.
void showCode(QComboBox *box, int32_t code)
{
    box->setCurrentIndex(code >= 0 && code < box->count() ? code : -1);
}

} // namespace

HeizungTab::HeizungTab(TQuorvix *window)
    : TabPage(window, "Heizung_Maske")
{
    auto *grid = pageGrid(this);
    grid->addWidget(buildEditorGroup(), 0, 0);
    grid->addWidget(buildListColumn(), 0, 1);
    WochenUebersicht = new WeekOverview(w->store, this);
    grid->addWidget(WochenUebersicht, 1, 0, 1, 2);
    grid->addWidget(buildReadings(), 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    connectControls();
    connect(&w->session, &Session::followUp, this, &HeizungTab::followUp);
}

QWidget *HeizungTab::buildEditorGroup()
{
    HeizungGroup = new QGroupBox(QString::fromUtf8(heatingSpec().groupCaption), this);
    HeizungGroup->setObjectName(QStringLiteral("GroupBox_Heizung"));
    auto *grid = new QGridLayout(HeizungGroup);
    setGroupMargins(grid);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    const QString motorCaption =
        QStringLiteral("Motor- bzw. Raumname                                           ") + kOnOffCaption;
    auto *caption = new QLabel(motorCaption, HeizungGroup);
    grid->addWidget(caption, 0, 0, 1, 2);
    // The second column starts under "EIN / AUS" of the caption.
    const QString beforeOnOff = motorCaption.left(motorCaption.indexOf(kOnOffCaption));
    grid->setColumnMinimumWidth(0, caption->fontMetrics().horizontalAdvance(beforeOnOff) - grid->horizontalSpacing());
    Heiz_Raum = dropDown("Heiz_Raum", {}, nullptr, HeizungGroup);
    for (int m = 0; m < kMotors; ++m)
        Heiz_Raum->addItem(defaultMotorName(m));
    Heiz_Ein_Aus = specBox("Heiz_Ein_Aus", HeizungGroup);
    Help_Heiz = makeHelpButton("Help_Heiz", HeizungGroup);
    grid->addWidget(Heiz_Raum, 1, 0);
    grid->addWidget(Heiz_Ein_Aus, 1, 1);
    grid->addWidget(Help_Heiz, 1, 2);

    Heiz_Label_1 = specLabel("Heiz_Label_1", HeizungGroup);
    Heiz_Label_2 = specLabel("Heiz_Label_2", HeizungGroup);
    Heiz_Tag_Nacht = specBox("Heiz_Tag_Nacht", HeizungGroup);
    Heiz_Betriebsart = specBox("Heiz_Betriebsart", HeizungGroup);
    grid->addWidget(Heiz_Label_1, 2, 0);
    grid->addWidget(Heiz_Label_2, 2, 1);
    grid->addWidget(Heiz_Tag_Nacht, 3, 0);
    grid->addWidget(Heiz_Betriebsart, 3, 1);

    Heiz_Label_3 = specLabel("Heiz_Label_3", HeizungGroup);
    Heiz_Label_4 = specLabel("Heiz_Label_4", HeizungGroup);
    Heiz_Tag_Temperatur = specBox("Heiz_Tag_Temperatur", HeizungGroup);
    Heiz_Nacht_Temperatur = specBox("Heiz_Nacht_Temperatur", HeizungGroup);
    grid->addWidget(Heiz_Label_3, 4, 0);
    grid->addWidget(Heiz_Label_4, 4, 1);
    grid->addWidget(Heiz_Tag_Temperatur, 5, 0);
    grid->addWidget(Heiz_Nacht_Temperatur, 5, 1);
    grid->setRowStretch(6, 1);
    return HeizungGroup;
}

QWidget *HeizungTab::buildListColumn()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    Heiz_Liste = new QListWidget(column);
    Heiz_Liste->setObjectName(QStringLiteral("Heiz_Liste"));
    setUpOverviewList(Heiz_Liste);
    Heiz_Liste->setToolTip(
        QStringLiteral("Anklicken überträgt Werte in Eingabemasken (links), Doppel-Klick für EIN / AUS"));
    for (int m = 0; m < kMotors; ++m)
        Heiz_Liste->addItem(defaultMotorName(m));

    // Columns of the list line (config/heating_lines.cpp).
    auto *heading = new ColumnHeading(QStringLiteral("Motor / Raum      Ein/Aus         Betriebsart        "
                                                     "Tag-Temperatur      Nacht-Temperatur"),
                                      column);
    heading->setObjectName(QStringLiteral("Heiz_Liste_Label"));
    heading->setColumns({{0}, {14, 3}, {20, 11}, {36, 6}, {47, 6}});
    heading->setFirstCharacterAt(listTextLeft(Heiz_Liste));
    Heiz_Liste->setMinimumWidth(heading->sizeHint().width() + Heiz_Liste->verticalScrollBar()->sizeHint().width());
    layout->addWidget(heading);

    auto *rows = new WholeRows(column, 4);
    rows->add(Heiz_Liste);
    layout->addWidget(rows, 1);
    return column;
}

QWidget *HeizungTab::buildReadings()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(temperatureGroup(row, QStringLiteral("GroupBoxAussentemperatur3"),
                                       QStringLiteral("Außentemperatur"), QStringLiteral("AT_Min3"),
                                       QStringLiteral("AT_Aktuell3"), QStringLiteral("AT_Max3"), outside));
    layout->addWidget(temperatureGroup(row, QStringLiteral("GroupBoxInnentemperatur3"),
                                       QStringLiteral("Innentemperatur"), QStringLiteral("IT_Min3"),
                                       QStringLiteral("IT_Aktuell3"), QStringLiteral("IT_Max3"), inside));
    layout->addStretch(1);
    return row;
}

void HeizungTab::connectControls()
{
    wireCombos<Page>(this, {
        {"Heiz_Raum", &Page::Heiz_Raum_Click},
        {"Heiz_Ein_Aus", &Page::Heiz_EIN_AUSClick, &Page::Heiz_Raum_Click},
        {"Heiz_Betriebsart", &Page::Heiz_Betriebsart_Click, &Page::Heiz_Raum_Click},
        {"Heiz_Tag_Nacht", &Page::Heiz_Tag_NachtClick, &Page::Heiz_Raum_Click},
        {"Heiz_Tag_Temperatur", &Page::Heiz_Tag_TemperaturClick, &Page::Heiz_Raum_Click},
        {"Heiz_Nacht_Temperatur", &Page::Heiz_Nacht_TemperaturClick, &Page::Heiz_Raum_Click},
    });
    wireLists<Page>(this, {{Heiz_Liste, &Page::Heiz_ListeClick, &Page::Heiz_Liste_DblClick}});
}

QString HeizungTab::weekCaption(const QString &motorName)
{
    return QStringLiteral("Wochenübersicht Tag-/ Nacht-Temperatur für ") + motorName;
}

int HeizungTab::motor() const
{
    return Heiz_Raum->currentIndex();
}

void HeizungTab::startUp()
{
    copyNamesFromStore();
    Heiz_Raum->setCurrentIndex(0);
    Heiz_Liste->setCurrentRow(0);
    loadFields();
    redrawList();
    redrawWeekOverview();
}

void HeizungTab::enter() { Heizung_Maske_Enter(); }

void HeizungTab::refresh()
{
    Heizung_Maske_Enter();
}

void HeizungTab::copyNamesFromStore()
{
    for (int m = 0; m < kMotors; ++m)
        Heiz_Raum->setItemText(m, w->store.MotorNamen[m]);
}

void HeizungTab::Heizung_Maske_Enter()
{
    copyNamesFromStore();
    Heiz_Raum->setCurrentIndex(qMax(0, Heiz_Liste->currentRow()));
    loadFields();
    redrawList();
    // A name changed on the schedule page must not linger in the week's caption.
    if (WochenUebersicht->title().startsWith(weekCaption(QString())))
        WochenUebersicht->setTitle(weekCaption(Heiz_Raum->currentText()));
    redrawWeekOverview();
}

void HeizungTab::loadFields()
{
    if (motor() < 0)
        return;
    const HeizungsRecord &r = w->store.HeizungsSteuerung[motor()];
    showCode(Heiz_Ein_Aus, r.EinAus);
    showCode(Heiz_Tag_Nacht, r.TagNacht);
    showCode(Heiz_Betriebsart, r.Betriebsart);
    showCode(Heiz_Tag_Temperatur, r.TagTemperatur);
    showCode(Heiz_Nacht_Temperatur, r.NachtTemperatur);
    setVisibility();
}

void HeizungTab::setVisibility()
{
    const bool on = Heiz_Ein_Aus->currentIndex() == 0;
    Heiz_Tag_Nacht->setVisible(on);
    // The other details follow Heiz_Tag_Nacht.
    for (QWidget *c : std::initializer_list<QWidget *>{Heiz_Betriebsart, Heiz_Tag_Temperatur, Heiz_Nacht_Temperatur,
                                                       Heiz_Label_1, Heiz_Label_2, Heiz_Label_3, Heiz_Label_4})
        c->setVisible(on);
}

void HeizungTab::redrawList()
{
    for (int m = 0; m < kMotors; ++m) {
        const QString line = heating::listLine(Heiz_Raum->itemText(m), w->store.HeizungsSteuerung[m]);
        QListWidgetItem *item = Heiz_Liste->item(m);
        if (item->text() != line)
            item->setText(line);
    }
}

void HeizungTab::redrawWeekOverview()
{
    WochenUebersicht->redraw();
}

void HeizungTab::Heiz_Raum_Click()
{
    if (motor() < 0 || (!w->session.flags.BankModel && motor() > 7))
        Heiz_Raum->setCurrentIndex(0);
    const int m = motor();
    w->store.markPending(MotorTable::HeizungsSteuerung, m);
    loadFields();
    redrawList();
    Heiz_Liste->setCurrentRow(m);
    WochenUebersicht->setTitle(weekCaption(Heiz_Raum->itemText(m)));
    redrawWeekOverview();
}

void HeizungTab::storeChoice(QComboBox *box, int32_t HeizungsRecord::*field)
{
    if (motor() < 0 || box->currentIndex() < 0)
        return;
    w->store.HeizungsSteuerung[motor()].*field = box->currentIndex();
}

void HeizungTab::Heiz_EIN_AUSClick() { storeChoice(Heiz_Ein_Aus, &HeizungsRecord::EinAus); }
void HeizungTab::Heiz_Betriebsart_Click() { storeChoice(Heiz_Betriebsart, &HeizungsRecord::Betriebsart); }
void HeizungTab::Heiz_Tag_NachtClick() { storeChoice(Heiz_Tag_Nacht, &HeizungsRecord::TagNacht); }
void HeizungTab::Heiz_Nacht_TemperaturClick()
{
    storeChoice(Heiz_Nacht_Temperatur, &HeizungsRecord::NachtTemperatur);
}

void HeizungTab::Heiz_Tag_TemperaturClick()
{
    // The empty item after 29,5°C is no temperature; storing it would send a set-point
    // beyond the scale. The refresh that follows shows the stored value again.
    if (!heating::isSetPoint(Heiz_Tag_Temperatur->currentIndex()))
        return;
    storeChoice(Heiz_Tag_Temperatur, &HeizungsRecord::TagTemperatur);
}

void HeizungTab::Heiz_ListeClick()
{
    if (!w->session.flags.BankModel && Heiz_Liste->currentRow() > 7)
        Heiz_Liste->setCurrentRow(0);
    if (Heiz_Liste->currentRow() < 0)
        return;
    Heiz_Raum->setCurrentIndex(Heiz_Liste->currentRow());
    loadFields();
    Heiz_Raum_Click();
    redrawWeekOverview();
}

void HeizungTab::Heiz_Liste_DblClick()
{
    // Only motors the controller has may be switched.
    if (!w->session.flags.BankModel && Heiz_Liste->currentRow() > 7)
        Heiz_Liste->setCurrentRow(0);
    if (Heiz_Liste->currentRow() < 0)
        return;
    Heiz_Raum->setCurrentIndex(Heiz_Liste->currentRow());
    int32_t &einAus = w->store.HeizungsSteuerung[motor()].EinAus;
    einAus = einAus == 0 ? 1 : 0;
    Heiz_Raum_Click();
}

void HeizungTab::followUp(FollowUp what)
{
    switch (what) {
    case FollowUp::Heizung: redrawList(); break;
    case FollowUp::LiveValues: showLiveValues(); break;
    default: break;
    }
}

void HeizungTab::showLiveValues()
{
    const LiveValues &live = w->session.live;
    if (!live.received)
        return;
    showOutsideTemperatures(outside, live);
    showInsideTemperatures(inside, live);
}

} // namespace vandorelle
