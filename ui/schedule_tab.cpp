#include "ui/schedule_tab.h"

#include "config/free_memory.h"
#include "config/schedule_bar.h"
#include "config/schedule_items.h"
#include "config/schedule_lines.h"
#include "config/schedule_rules.h"
#include "ui/day_bar.h"
#include "ui/main_window.h"
#include "ui/schaltzeit_transfer.h"
#include "ui/schedule_controls.h"
#include "ui/week_overview.h"
#include "ui/window_style.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vandorelle {

using namespace schedule;

namespace {

const QString kReadLine = QStringLiteral("     Lese Daten von Steuerung ...");
constexpr int kProgressLine = 6;

const QString kHeading42 = QStringLiteral(
    "                                                 Schaltzeit         Schaltzeit           Schaltzeit"
    "           Schaltzeit         Schaltzeit         Schaltzeit           Schaltzeit         Schaltzeit  ");
const QString kHeading37 = QStringLiteral(
    "  Nr. 1                 Nr. 2                   Nr. 3                   Nr. 4                 Nr. 5"
    "                Nr. 6                   Nr. 7                Nr. 8");

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox *dropDownList(const char *name, const QStringList &items, const QString &hint, QWidget *parent)
{
    auto *box = named(new QComboBox(parent), name);
    box->addItems(items);
    if (!hint.isEmpty())
        box->setToolTip(hint);
    return box;
}

QPushButton *helpButton(const char *name, QWidget *parent)
{
    auto *b = named(new QPushButton(QStringLiteral("?"), parent), name);
    b->setToolTip(QStringLiteral("Hilfe"));
    b->setCursor(Qt::WhatsThisCursor);
    b->setFixedWidth(22);
    return b;
}

// Columns of a schedule line (config/schedule_lines.cpp): the times of numbers 1 to 8.
std::vector<ListColumn> timeColumns()
{
    std::vector<ListColumn> columns;
    for (int n = 0; n < kEntries; ++n)
        columns.push_back({20 + 11 * n, 7});
    return columns;
}

// Label37 starts this many characters into the line, near the first time column, so that
// narrowing it to 300 pixels (models with four numbers a day) leaves numbers 1 to 4.
constexpr int kLabel37Shift = 19;

} // namespace

SchaltzeitTab::SchaltzeitTab(TQuorvix *window)
    : TabPage(window, "Schaltzeit_Maske")
{
    auto *page = pageGrid(this);
    page->setVerticalSpacing(2);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(buildEditorGroup());
    left->addWidget(buildDayBar());
    left->addWidget(buildCopyGroup(), 0, Qt::AlignLeft);
    left->addStretch(1);
    // Over the lists they sort.
    left->addWidget(buildSortButtons(), 0, Qt::AlignLeft);
    page->addLayout(left, 0, 0);
    page->addWidget(w->transfer, 0, 1);
    page->addWidget(buildListHeadings(), 1, 0, 1, 2);
    page->addWidget(buildLists(), 2, 0, 1, 2);
    page->setRowStretch(2, 1);
    page->setColumnStretch(0, 1);

    placeHeadings();
    fillInitialLines();
    MotorButtonClick();

    QFont warning = w->Speicherplatz_Label->font();
    warning.setBold(true);
    warning.setPixelSize(13);
    w->Speicherplatz_Label->setFont(warning);
    w->Speicherplatz_Label->adjustSize();

    connectControls();
}

QWidget *SchaltzeitTab::buildEditorGroup()
{
    SchaltzeitenGroup = named(new QGroupBox(QStringLiteral("Schaltzeiten anzeigen und ändern"), this),
                              "SchaltzeitenGroup");
    auto *grid = new QGridLayout(SchaltzeitenGroup);
    setGroupMargins(grid);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);

    CB_Wochentag = dropDownList("CB_Wochentag", weekdayItems(), {}, SchaltzeitenGroup);
    CB_Raum = named(new MotorNameComboBox(SchaltzeitenGroup), "CB_Raum");
    for (int m = 0; m < kMotors; ++m)
        CB_Raum->addItem(defaultMotorName(m));
    CB_Raum->setCurrentIndex(0);
    CB_Schaltzeit_Nr = dropDownList("CB_Schaltzeit_Nr", numberItems(), {}, SchaltzeitenGroup);
    CB_Up_Down = named(new SymbolComboBox(SchaltzeitenGroup), "CB_Up_Down");
    CB_Up_Down->addItems(directionItems());
    CB_Up_Down->setToolTip(QStringLiteral("Laufrichtung"));
    CB_Schaltzeit = dropDownList("CB_Schaltzeit", timeItems(), QStringLiteral("Aktivierungs-Uhrzeit"),
                                 SchaltzeitenGroup);
    CB_Schaltzeit->setMaxVisibleItems(16);
    CB_Dauer = dropDownList("CB_Dauer", durationItems(), QStringLiteral("Laufzeit des Motors bei Aktivierung"),
                            SchaltzeitenGroup);
    CB_Gruppe = dropDownList("CB_Gruppe", groupItems(0), QStringLiteral("Schaltzeit gilt für mehrere Wochentage"),
                             SchaltzeitenGroup);
    CB_Funktion = dropDownList("CB_Funktion", functionItems(), QStringLiteral("Zufallsfunktion, Astro-Funktion"),
                               SchaltzeitenGroup);
    Help_FS = helpButton("Help_FS", SchaltzeitenGroup);

    const std::pair<const char *, QWidget *> columns[] = {
        {"Tag", CB_Wochentag},          {kMotorCaption, CB_Raum},
        {"Schalt- Zeit-Nr.", CB_Schaltzeit_Nr}, {"Auf- Ab", CB_Up_Down},
        {"Schaltzeit", CB_Schaltzeit},  {kDurationCaption, CB_Dauer},
        {kGroupCaption, CB_Gruppe},     {kFunctionCaption, CB_Funktion},
    };
    // Each column as wide as its box's longest item; the captions wrap above it.
    const std::pair<QComboBox *, QString> samples[] = {
        {CB_Wochentag, QStringLiteral("Mo")},   {CB_Raum, QString(13, QLatin1Char('x'))},
        {CB_Schaltzeit_Nr, QStringLiteral("8")}, {CB_Up_Down, QStringLiteral("\u2191")},
        {CB_Schaltzeit, QStringLiteral("00:00")}, {CB_Dauer, QStringLiteral("99s")},
        {CB_Gruppe, QStringLiteral("Mo - So")}, {CB_Funktion, QStringLiteral("Zufall")},
    };
    for (const auto &[box, sample] : samples)
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(sample) + 30);
    int col = 0;
    for (const auto &[caption, box] : columns) {
        auto *label = new QLabel(QString::fromUtf8(caption), SchaltzeitenGroup);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        fitCaption(label, box->width());
        grid->addWidget(label, 0, col, Qt::AlignLeft | Qt::AlignBottom);
        grid->addWidget(box, 1, col, Qt::AlignLeft);
        ++col;
    }
    grid->addWidget(Help_FS, 1, col);
    grid->setColumnStretch(col + 1, 1); // a wider window leaves the columns together
    return SchaltzeitenGroup;
}

QWidget *SchaltzeitTab::buildDayBar()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    GroupBox20 = named(new QGroupBox(row), "GroupBox20");
    auto *inner = new QHBoxLayout(GroupBox20);
    inner->setContentsMargins(2, 2, 2, 2);
    dayBar = named(new DayBar(kDayBar.unit, GroupBox20), "DayBar");
    inner->addWidget(dayBar);
    Tag_und_Motor = named(new QLabel(row), "Tag_und_Motor");
    Tag_und_Motor->setMinimumWidth(120);
    layout->addWidget(GroupBox20, 1);
    layout->addWidget(Tag_und_Motor);
    return row;
}

QWidget *SchaltzeitTab::buildCopyGroup()
{
    KopierenGroup = named(new QGroupBox(QStringLiteral("Schaltzeiten kopieren"), this), "KopierenGroup");
    auto *layout = new QHBoxLayout(KopierenGroup);
    setGroupMargins(layout);
    layout->addWidget(new QLabel(QStringLiteral("von:"), KopierenGroup));
    copy_from_label = named(new QLabel(KopierenGroup), "copy_from_label");
    copy_from_label->setToolTip(QStringLiteral("Auswählen durch Anklicken in der Liste"));
    copy_from_label->setMinimumWidth(100);
    layout->addWidget(copy_from_label);
    layout->addWidget(new QLabel(QStringLiteral("nach:"), KopierenGroup));
    CB_Copy_Raum = named(new QComboBox(KopierenGroup), "CB_Copy_Raum");
    CB_Copy_Raum->setToolTip(QStringLiteral("Ziel-Motor"));
    CB_Copy_Raum->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CB_Copy_Raum->setMinimumContentsLength(13);
    for (int m = 0; m < kMotors; ++m)
        CB_Copy_Raum->addItem(defaultMotorName(m));
    layout->addWidget(CB_Copy_Raum);
    Help_SchZeitCopy = helpButton("Help_SchZeitCopy", KopierenGroup);
    layout->addWidget(Help_SchZeitCopy);
    return KopierenGroup;
}

QWidget *SchaltzeitTab::buildSortButtons()
{
    auto *box = new QWidget(this);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Liste sortieren nach:"), box));
    TagButton = named(new QPushButton(QStringLiteral("Tag"), box), "TagButton");
    TagButton->setToolTip(QStringLiteral("Liste sortieren nach Tag"));
    MotorButton = named(new QPushButton(QStringLiteral("Motor- bzw. Raum"), box), "MotorButton");
    MotorButton->setToolTip(QStringLiteral("Liste sortieren nach Motor"));
    layout->addWidget(TagButton);
    layout->addWidget(MotorButton);
    return box;
}

QWidget *SchaltzeitTab::buildListHeadings()
{
    auto *box = named(new QWidget(this), "ListHeadings");
    Label42 = named(new ColumnHeading(kHeading42, box), "Label42");
    Label37 = named(new ColumnHeading(kHeading37, box), "Label37");
    Label42->setColumns(timeColumns());
    Label37->setColumns(timeColumns());
    box->setFixedHeight(2 * Label42->sizeHint().height());
    return box;
}

QWidget *SchaltzeitTab::buildLists()
{
    auto *box = new WholeRows(this, 8);
    DatenListe_Tag = named(new ScheduleList(box), "DatenListe_Tag");
    DatenListe_Tag->setToolTip(QStringLiteral("Anklicken überträgt Werte in Eingabemasken (oben links)"));
    DatenListe_Motor = named(new ScheduleList(box), "DatenListe_Motor");
    DatenListe_Motor->setToolTip(
        QStringLiteral("Anklicken überträgt Werte in Eingabemasken (oben links) / Dopelklick löscht Schaltzeit "));
    for (ScheduleList *list : {DatenListe_Tag, DatenListe_Motor}) {
        setUpOverviewList(list);
        // Wide enough for a whole line, so the click position maps onto the time columns.
        const int text = int(std::ceil(kLineLength * listCharWidth()));
        list->setFixedWidth(text + 2 * listTextLeft(list) + list->verticalScrollBar()->sizeHint().width());
        box->add(list);
    }
    return box;
}

void SchaltzeitTab::placeHeadings()
{
    // Both headings stand over the list's time columns; Label37 starts further right.
    const int textLeft = listTextLeft(DatenListe_Tag);
    const int x37 = int(std::lround(textLeft + kLabel37Shift * listCharWidth())) - 2;
    const int width = DatenListe_Tag->width();
    const int h = Label42->sizeHint().height();
    Label42->setFirstCharacterAt(textLeft);
    Label37->setFirstCharacterAt(textLeft - x37);
    Label42->setGeometry(0, 0, width, h);
    Label37->setGeometry(x37, h, width - x37, h);
}

void SchaltzeitTab::fillInitialLines()
{
    for (int i = 0; i < kTagListLines; ++i)
        DatenListe_Tag->addItem(initialTagListLine(i));
    for (int j = 0; j < kMotorListLines; ++j)
        DatenListe_Motor->addItem(initialMotorListLine(j));
}

void SchaltzeitTab::connectControls()
{
    // activated is the user's choice (the click); the change handler follows it.
    connect(CB_Wochentag, &QComboBox::activated, this, &SchaltzeitTab::CB_WochentagClick);
    connect(CB_Schaltzeit_Nr, &QComboBox::activated, this, &SchaltzeitTab::CB_WochentagClick);
    connect(CB_Raum, &QComboBox::activated, this, [this] {
        m_nameTyped = false;
        CB_WochentagClick();
        CB_RaumChange();
    });
    connect(CB_Raum->lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_nameTyped = true;
        CB_RaumChange();
    });
    connect(CB_Raum, &MotorNameComboBox::enterPressed, this, [this] { CB_RaumKeyPress(Qt::Key_Return); });
    connect(CB_Raum, &MotorNameComboBox::focusLeft, this, &SchaltzeitTab::CB_RaumExit);
    connect(CB_Raum, &MotorNameComboBox::dropDown, this, &SchaltzeitTab::CB_RaumDropDown);
    for (QComboBox *box : {static_cast<QComboBox *>(CB_Up_Down), CB_Schaltzeit, CB_Dauer, CB_Gruppe, CB_Funktion}) {
        connect(box, &QComboBox::activated, this, [this] {
            CB_SchaltzeitClick();
            CB_FunktionChange();
        });
    }
    connect(CB_Copy_Raum, &QComboBox::activated, this, &SchaltzeitTab::CB_Copy_RaumChange);

    for (ScheduleList *list : {DatenListe_Tag, DatenListe_Motor}) {
        connect(list, &ScheduleList::pointerDown, this, &SchaltzeitTab::DatenListe_TagMouseDown);
        connect(list, &QListWidget::clicked, this, &SchaltzeitTab::DatenListe_TagClick);
        connect(list, &ScheduleList::keyboardMoved, this, [this] { selectFromList(selectedNumber(), false); });
    }
    connect(DatenListe_Motor, &QListWidget::doubleClicked, this, &SchaltzeitTab::Schaltzeit_Loeschen);
    connect(TagButton, &QPushButton::clicked, this, &SchaltzeitTab::TagButtonClick);
    connect(MotorButton, &QPushButton::clicked, this, &SchaltzeitTab::MotorButtonClick);

    connect(&w->session, &Session::followUp, this, &SchaltzeitTab::followUp);
    connect(&w->session, &Session::readProgressLine, this, &SchaltzeitTab::showReadProgress);
}

// ---- start-up and the window's requests ----

void SchaltzeitTab::startUp()
{
    // Start-up draws only the bars; the lists keep their first lines until something changes.
    m_startUpDrawPending = true;
    QTimer::singleShot(0, this, [this] { m_startUpDrawPending = false; });

    MotorButtonClick();
    syncNamesFromStore();
    m_nameTyped = false;
    CB_Wochentag->setCurrentIndex(0);
    setSelectedMotor(0);
    CB_Copy_Raum->setCurrentIndex(0);
    CB_Schaltzeit_Nr->setCurrentIndex(0);
    CB_Up_Down->setCurrentIndex(0);
    CB_Dauer->setCurrentIndex(39);
    refillGroupItems(0);
    CB_Gruppe->setCurrentIndex(0);
    CB_Funktion->setCurrentIndex(0);
    CB_Schaltzeit->setCurrentIndex(0);
    w->Speicherplatz_Label->hide();
}

void SchaltzeitTab::refresh()
{
    syncNamesFromStore();
    if (m_startUpDrawPending) {
        m_startUpDrawPending = false;
        redrawDayBar();
        redrawHeatingWeekOverview();
        return;
    }
    redrawLists();
    CB_WochentagClick();
}

void SchaltzeitTab::prepareForRead()
{
    for (QComboBox *box : {CB_Wochentag, static_cast<QComboBox *>(CB_Raum), CB_Schaltzeit_Nr,
                           static_cast<QComboBox *>(CB_Up_Down), CB_Schaltzeit, CB_Dauer, CB_Gruppe, CB_Funktion})
        box->setCurrentIndex(-1);
    m_nameTyped = false;
    for (int i = 0; i < 62; ++i)
        DatenListe_Tag->item(i)->setText(QString());
    for (int j = 0; j < 64; ++j)
        DatenListe_Motor->item(j)->setText(QString());
    for (ScheduleList *list : {DatenListe_Tag, DatenListe_Motor}) {
        list->item(kProgressLine)->setText(kReadLine);
        list->setCurrentRow(-1);
        list->clearSelection();
    }
    m_startUpDrawPending = false;
}

void SchaltzeitTab::showReadProgress(const QString &line)
{
    DatenListe_Tag->item(kProgressLine)->setText(line);
    DatenListe_Motor->item(kProgressLine)->setText(DatenListe_Tag->item(kProgressLine)->text());
}

void SchaltzeitTab::finishRead()
{
    syncNamesFromStore();
    redrawLists();
    selectStartEntry();
}

void SchaltzeitTab::selectStartEntry()
{
    m_nameTyped = false;
    CB_Wochentag->setCurrentIndex(0);
    setSelectedMotor(0);
    CB_Copy_Raum->setCurrentIndex(0);
    CB_Schaltzeit_Nr->setCurrentIndex(0);
    CB_WochentagClick();
}

void SchaltzeitTab::redrawAll()
{
    syncNamesFromStore();
    redrawLists();
    redrawDayBar();
    redrawHeatingWeekOverview();
}

void SchaltzeitTab::updateFreeMemory()
{
    const FreeMemory memory = freeMemory(w->store);
    w->status.setPanel(StatusModel::Activity, freeMemoryText(memory.percent));
    w->Speicherplatz_Label->setVisible(memory.warning);
}

void SchaltzeitTab::followUp(FollowUp what)
{
    // While a read-all runs the lists show only its progress line; its end redraws them.
    const bool reading = w->session.readAllRunning;
    if (what == FollowUp::MotorNamen) {
        syncNamesFromStore();
        if (!reading) {
            redrawListLines();
            redrawDayBar();
        }
    } else if (what == FollowUp::Schedule && !reading) {
        redrawAll();
    }
}

// ---- selection ----

int SchaltzeitTab::selectedWeekday() const
{
    return CB_Wochentag->currentIndex();
}

int SchaltzeitTab::selectedMotor() const
{
    return CB_Raum->currentIndex();
}

int SchaltzeitTab::selectedNumber() const
{
    const int n = CB_Schaltzeit_Nr->currentIndex();
    return n >= 0 && n < kEntries ? n : -1;
}

bool SchaltzeitTab::hasSelectedEntry() const
{
    return validEntry(selectedWeekday(), selectedMotor(), selectedNumber());
}

QString SchaltzeitTab::motorName(int motor) const
{
    return motor >= 0 && motor < kMotors ? w->store.MotorNamen[motor] : QString();
}

void SchaltzeitTab::setSelectedMotor(int motor)
{
    CB_Raum->setCurrentIndex(motor);
    // A typed name renames the motor the box shows, however it came to be selected.
    if (motor >= 0 && motor < kMotors)
        m_nameTarget = motor;
    copy_from_label->setText(motorName(motor));
}

void SchaltzeitTab::refillGroupItems(int weekday)
{
    const QStringList &items = groupItems(weekday);
    for (int i = 0; i < items.size(); ++i) {
        if (CB_Gruppe->itemText(i) != items.at(i))
            CB_Gruppe->setItemText(i, items.at(i));
    }
}

void SchaltzeitTab::clearValueBoxes()
{
    for (QComboBox *box : {static_cast<QComboBox *>(CB_Up_Down), CB_Schaltzeit, CB_Dauer, CB_Gruppe, CB_Funktion})
        box->setCurrentIndex(-1);
}

void SchaltzeitTab::loadEntry(LoadFrom from)
{
    if (!hasSelectedEntry()) {
        clearValueBoxes();
        return;
    }
    const int d = selectedWeekday();
    const SchaltzeitEntry &e = w->store.Schaltzeit[slot(d, selectedMotor(), selectedNumber())];
    // A code outside a box's list (from a file or the controller) shows as no item.
    CB_Up_Down->setCurrentIndex(e.Richtung);
    CB_Schaltzeit->setCurrentIndex(e.Zeit);
    CB_Dauer->setCurrentIndex(e.Dauer);
    CB_Gruppe->setCurrentIndex(from == LoadFrom::Selectors ? groupItemForSelectors(e.Gruppe)
                                                           : groupItemForListClick(e.Gruppe, d));
    CB_Funktion->setCurrentIndex(e.Funktion);
}

void SchaltzeitTab::highlightLines(int weekday, int motor)
{
    DatenListe_Tag->setCurrentRow(tagLine(weekday, motor));
    DatenListe_Motor->setCurrentRow(motorLine(weekday, motor));
}

// ---- editor operations ----

void SchaltzeitTab::CB_WochentagClick()
{
    const DeviceFlags &flags = w->session.flags;
    if (selectedMotor() >= 0) {
        const int limited = limitMotor(selectedMotor(), flags.BankModel);
        if (limited != selectedMotor())
            setSelectedMotor(limited);
    }
    if (CB_Schaltzeit_Nr->currentIndex() >= 0)
        CB_Schaltzeit_Nr->setCurrentIndex(limitNumber(CB_Schaltzeit_Nr->currentIndex(), flags.EightEntries));

    const int d = selectedWeekday();
    const int m = selectedMotor();
    if (d < 0 || m < 0) {
        clearValueBoxes();
        return;
    }
    const int group = CB_Gruppe->currentIndex();
    refillGroupItems(d);
    CB_Gruppe->setCurrentIndex(group);
    loadEntry(LoadFrom::Selectors);
    copy_from_label->setText(motorName(m));
    highlightLines(d, m);
    redrawDayBar();
    redrawHeatingWeekOverview();
}

void SchaltzeitTab::DatenListe_TagMouseDown(int x)
{
    m_pointerX = x;
}

void SchaltzeitTab::DatenListe_TagClick()
{
    selectFromList(0, true);
}

void SchaltzeitTab::selectFromList(int number, bool numberFromPointer)
{
    const DeviceFlags &flags = w->session.flags;
    if (!flags.BankModel && DatenListe_Motor->currentRow() > 62)
        DatenListe_Motor->setCurrentRow(0);

    ScheduleList *list = m_tagListShown ? DatenListe_Tag : DatenListe_Motor;
    if (list->currentRow() < 0)
        return;
    ListSelection sel = m_tagListShown ? tagListSelection(list->currentRow())
                                       : motorListSelection(list->currentRow());
    if (sel.line != list->currentRow())
        list->setCurrentRow(sel.line);
    if (m_tagListShown && limitMotor(sel.motor, flags.BankModel) != sel.motor)
        sel = {0, 0, 0};

    if (numberFromPointer) {
        const ClickedNumber clicked = numberFromClick(m_pointerX, DatenListe_Tag->width(), flags.EightEntries);
        m_pointerX = clicked.shiftedX;
        number = clicked.number;
    }
    m_nameTyped = false;
    CB_Wochentag->setCurrentIndex(sel.weekday);
    setSelectedMotor(sel.motor);
    CB_Schaltzeit_Nr->setCurrentIndex(std::max(0, number));
    refillGroupItems(sel.weekday);
    loadEntry(LoadFrom::ListClick);
    highlightLines(sel.weekday, sel.motor);
    redrawDayBar();
    redrawHeatingWeekOverview();
}

void SchaltzeitTab::CB_SchaltzeitClick()
{
    if (!hasSelectedEntry())
        return;
    const int d = selectedWeekday();
    const int m = selectedMotor();
    const int n = selectedNumber();
    const SchaltzeitEntry &current = w->store.Schaltzeit[slot(d, m, n)];
    // A box without an item keeps the stored value instead of writing -1.
    auto value = [](QComboBox *box, int32_t stored) {
        return box->currentIndex() >= 0 ? box->currentIndex() : stored;
    };
    EntryValues values;
    values.Richtung = value(CB_Up_Down, current.Richtung);
    values.Zeit = value(CB_Schaltzeit, current.Zeit);
    values.Dauer = value(CB_Dauer, current.Dauer);
    values.Funktion = value(CB_Funktion, current.Funktion);
    storeEntry(w->store, d, m, n, values, groupChoice(CB_Gruppe->currentText()));

    copy_from_label->setText(motorName(m));
    redrawLists();
    redrawDayBar();
    redrawHeatingWeekOverview();
}

void SchaltzeitTab::CB_FunktionChange()
{
    if (hasSelectedEntry())
        w->store.markSchedulePending(slot(selectedWeekday(), selectedMotor(), selectedNumber()));
}

void SchaltzeitTab::Schaltzeit_Loeschen()
{
    CB_Schaltzeit->setCurrentIndex(0);
    CB_SchaltzeitClick();
}

void SchaltzeitTab::TagButtonClick()
{
    m_tagListShown = true;
    DatenListe_Motor->hide();
    DatenListe_Tag->show();
}

void SchaltzeitTab::MotorButtonClick()
{
    m_tagListShown = false;
    DatenListe_Tag->hide();
    DatenListe_Motor->show();
}

// ---- names and copying ----

void SchaltzeitTab::CB_RaumChange()
{
    if (m_nameTyped)
        return;
    int motor = selectedMotor();
    if (motor < 0)
        return;
    if (limitMotor(motor, w->session.flags.BankModel) != motor)
        motor = 0;
    setSelectedMotor(motor);
}

void SchaltzeitTab::CB_RaumKeyPress(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        CB_RaumExit();
}

void SchaltzeitTab::CB_RaumExit()
{
    if (m_nameTyped)
        finishTypedName(true);
}

void SchaltzeitTab::CB_RaumDropDown()
{
    // The copy target box keeps the old name here.
    if (m_nameTyped)
        finishTypedName(false);
}

void SchaltzeitTab::finishTypedName(bool alsoCopyTarget)
{
    m_nameTyped = false;
    const int r = m_nameTarget;
    if (r < 0 || r >= kMotors)
        return;
    const QString name = CB_Raum->currentText();
    w->store.MotorNamen[r] = name;
    CB_Raum->setItemText(r, name);
    if (alsoCopyTarget)
        CB_Copy_Raum->setItemText(r, name);
    setSelectedMotor(r);
    redrawLists();
    redrawDayBar();
}

void SchaltzeitTab::CB_Copy_RaumChange()
{
    const int source = selectedMotor();
    int target = CB_Copy_Raum->currentIndex();
    if (!w->session.flags.BankModel && target > 7) {
        CB_Copy_Raum->setCurrentIndex(source);
        target = source;
    }
    if (!copyMotor(w->store, source, target))
        return;
    redrawLists();
    redrawDayBar();
    redrawHeatingWeekOverview();
}

void SchaltzeitTab::syncNamesFromStore()
{
    const QString typed = CB_Raum->currentText();
    for (int m = 0; m < kMotors; ++m) {
        const QString &name = w->store.MotorNamen[m];
        if (CB_Raum->itemText(m) != name)
            CB_Raum->setItemText(m, name);
        if (CB_Copy_Raum->itemText(m) != name)
            CB_Copy_Raum->setItemText(m, name);
    }
    if (m_nameTyped)
        CB_Raum->setEditText(typed);
    else if (selectedMotor() >= 0)
        copy_from_label->setText(motorName(selectedMotor()));
}

// ---- views ----

void SchaltzeitTab::redrawListLines()
{
    const ConfigStore &store = w->store;
    for (int i = 0; i < kTagListLines; ++i) {
        const QString line = tagListLine(store, i);
        QListWidgetItem *item = DatenListe_Tag->item(i);
        if (item->text() != line)
            item->setText(line);
    }
    for (int j = 0; j < kMotorListLines; ++j) {
        const QString line = motorListLine(store, j);
        QListWidgetItem *item = DatenListe_Motor->item(j);
        if (item->text() != line)
            item->setText(line);
    }
    m_startUpDrawPending = false;
}

void SchaltzeitTab::redrawLists()
{
    redrawListLines();
    updateFreeMemory();
}

void SchaltzeitTab::redrawDayBar()
{
    const int d = selectedWeekday();
    const int m = selectedMotor();
    if (d < 0 || m < 0)
        return;
    dayBar->setSegments(barSegments(w->store, d, m, kDayBar));
    Tag_und_Motor->setText(weekdayText(d) + QStringLiteral(", ") + motorName(m));
}

WeekOverview *SchaltzeitTab::weekOverview()
{
    if (!m_weekOverview)
        m_weekOverview = w->findChild<WeekOverview *>();
    return m_weekOverview;
}

void SchaltzeitTab::redrawHeatingWeekOverview()
{
    if (WeekOverview *overview = weekOverview())
        overview->redraw();
}

} // namespace vandorelle
