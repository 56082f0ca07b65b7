#include "ui/parameter_tab.h"

#include "config/automation_items.h"
#include "config/parameter_banks.h"
#include "config/parameter_items.h"
#include "link/serial_port.h"
#include "ui/automation_displays.h"
#include "ui/dialogs.h"
#include "ui/help_box.h"
#include "ui/keyboard_choice.h"
#include "ui/main_window.h"
#include "ui/window_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace vandorelle {

using parameters::kBankSize;
using parameters::motorOfRow;

namespace {

QComboBox *parameterBox(const char *name, QWidget *parent)
{
    const parameters::ParameterSpec &parameter = parameters::parameterSpec(name);
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(parameter.items());
    box->setToolTip(QString::fromUtf8(parameter.hint));
    return box;
}

QLabel *parameterCaption(const char *name, QWidget *parent)
{
    return new QLabel(QString::fromUtf8(parameters::parameterSpec(name).caption), parent);
}

QString parameterGroup(const char *name)
{
    return QString::fromUtf8(parameters::parameterSpec(name).group);
}

QGroupBox *namedGroup(const char *name, const QString &caption, QWidget *parent)
{
    auto *g = new QGroupBox(caption, parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

ReadOnlyBox *bankArrow(const char *name, QWidget *parent)
{
    auto *arrow = new ReadOnlyBox(QString::fromLatin1(name), QString(), parent);
    arrow->setSymbolText(items::kNext);
    arrow->setToolTip(QStringLiteral("Weitere Kanäle"));
    arrow->setAlignment(Qt::AlignCenter);
    arrow->setFixedWidth(28);
    arrow->setCursor(Qt::PointingHandCursor);
    return arrow;
}

QLabel *bankLabel(const char *name, QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral("1"), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    l->setMinimumWidth(16);
    return l;
}

void showCode(QComboBox *box, int32_t code)
{
    box->setCurrentIndex(code >= 0 && code < box->count() ? code : -1);
}

// Clicks on the maximum-wind display of the wind page, whatever kind of widget it is.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject *parent, std::function<void()> onClick)
        : QObject(parent), m_onClick(std::move(onClick)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_onClick();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

ParameterTab::ParameterTab(TQuorvix *window)
    : TabPage(window, "Parameter")
{
    auto *grid = pageGrid(this);
    grid->addWidget(buildAlarmGroup(), 0, 0, 1, 2);
    grid->addWidget(buildGroupControl(), 1, 0);
    auto *side = new QVBoxLayout;
    side->setSpacing(kPageSpacing);
    side->addWidget(buildRandomGroup());
    side->addWidget(buildSensorGroup());
    side->addWidget(buildConservatoryGroup());
    side->addWidget(buildTimeSignalGroup());
    side->addStretch(1);
    grid->addLayout(side, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(2, 1);
    connectControls();
    connect(&w->session, &Session::followUp, this, &ParameterTab::followUp);
}

QWidget *ParameterTab::buildRandomGroup()
{
    QGroupBox *g = namedGroup("GroupBox_Zufall", parameterGroup("ZufallsZeitspanne"), this);
    auto *row = new QHBoxLayout(g);
    setGroupMargins(row);
    row->addWidget(parameterCaption("ZufallsZeitspanne", g));
    ZufallsZeitspanne = parameterBox("ZufallsZeitspanne", g);
    row->addWidget(ZufallsZeitspanne);
    row->addWidget(makeHelpButton("Help_ZufallSpanne", g));
    return g;
}

QWidget *ParameterTab::buildAlarmGroup()
{
    GroupBox_AlarmSetUp = namedGroup("GroupBox_AlarmSetUp", parameters::kAlarmGroupCaption, this);
    auto *grid = new QGridLayout(GroupBox_AlarmSetUp);
    setGroupMargins(grid);
    grid->setVerticalSpacing(2);
    for (int k = 0; k < kBankSize; ++k) {
        AS_Labels[k] = new QLabel(defaultMotorName(k), GroupBox_AlarmSetUp);
        AS_Labels[k]->setObjectName(QStringLiteral("AS_%1_Label").arg(k + 1));
        auto *list = new QListWidget(GroupBox_AlarmSetUp);
        list->setObjectName(QStringLiteral("AS_%1").arg(k + 1));
        for (const QString &logic : parameters::alarmItems()) {
            auto *item = new QListWidgetItem(shownSymbols(logic), list);
            item->setData(Qt::UserRole, logic);
            item->setTextAlignment(Qt::AlignCenter);
        }
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setFixedHeight(3 * list->sizeHintForRow(0) + 2 * list->frameWidth() + 2);
        AS_Lists[k] = list;
        grid->addWidget(AS_Labels[k], 0, k);
        grid->addWidget(list, 1, k);
    }
    auto *state = new QHBoxLayout;
    state->addWidget(new QLabel(QStringLiteral("Status"), GroupBox_AlarmSetUp));
    AlarmStatus = new ReadOnlyBox(QStringLiteral("AlarmStatus"), QStringLiteral("Kein Alarm"), GroupBox_AlarmSetUp);
    state->addWidget(AlarmStatus);
    state->addStretch(1);
    AS_Bank_next = bankArrow("AS_Bank_next", GroupBox_AlarmSetUp);
    AS_Bank_Label = bankLabel("AS_Bank_Label", GroupBox_AlarmSetUp);
    state->addWidget(AS_Bank_next);
    state->addWidget(AS_Bank_Label);
    state->addWidget(makeHelpButton("Help_Alarm", GroupBox_AlarmSetUp));
    grid->addLayout(state, 2, 0, 1, kBankSize);
    return GroupBox_AlarmSetUp;
}

QWidget *ParameterTab::buildSensorGroup()
{
    GroupBox_SensorTypen = namedGroup("GroupBox_SensorTypen", parameterGroup("BeschattungsHysterese"), this);
    auto *grid = new QGridLayout(GroupBox_SensorTypen);
    setGroupMargins(grid);
    grid->setVerticalSpacing(3);
    grid->addWidget(parameterCaption("BeschattungsHysterese", GroupBox_SensorTypen), 0, 0);
    grid->addWidget(parameterCaption("OffsetAussentemperatur", GroupBox_SensorTypen), 1, 0);
    BeschattungsHysterese = parameterBox("BeschattungsHysterese", GroupBox_SensorTypen);
    OffsetAussentemperatur = parameterBox("OffsetAussentemperatur", GroupBox_SensorTypen);
    grid->addWidget(BeschattungsHysterese, 0, 1);
    grid->addWidget(OffsetAussentemperatur, 1, 1);
    grid->addWidget(makeHelpButton("Help_SensorTypen", GroupBox_SensorTypen), 0, 2);
    return GroupBox_SensorTypen;
}

QWidget *ParameterTab::buildConservatoryGroup()
{
    GroupBox_WintergStrg = namedGroup("GroupBox_WintergStrg", parameterGroup("OffsetInnentemperatur"), this);
    auto *grid = new QGridLayout(GroupBox_WintergStrg);
    setGroupMargins(grid);
    grid->setVerticalSpacing(3);
    grid->addWidget(parameterCaption("OffsetInnentemperatur", GroupBox_WintergStrg), 0, 0);
    Heiz_Hysterese_Label = parameterCaption("Heiz_Hysterese", GroupBox_WintergStrg);
    Heiz_Hysterese_Label->setObjectName(QStringLiteral("Heiz_Hysterese_Label"));
    grid->addWidget(Heiz_Hysterese_Label, 1, 0);
    OffsetInnentemperatur = parameterBox("OffsetInnentemperatur", GroupBox_WintergStrg);
    Heiz_Hysterese = parameterBox("Heiz_Hysterese", GroupBox_WintergStrg);
    grid->addWidget(OffsetInnentemperatur, 0, 1);
    grid->addWidget(Heiz_Hysterese, 1, 1);
    grid->addWidget(makeHelpButton("Help_Wintergarten", GroupBox_WintergStrg), 0, 2);
    return GroupBox_WintergStrg;
}

QWidget *ParameterTab::buildGroupControl()
{
    GroupBox_GZS = namedGroup("GroupBox_GZS", parameters::kGroupControlCaption, this);
    auto *grid = new QGridLayout(GroupBox_GZS);
    setGroupMargins(grid);
    constexpr int spacing = 6;
    grid->setHorizontalSpacing(spacing);
    grid->setVerticalSpacing(2);
    auto *heading = new ColumnHeading(QStringLiteral("Gruppe 1      Gruppe 2      Gruppe 3      Gruppe 4"),
                                      GroupBox_GZS);
    grid->addWidget(heading, 0, 0, 1, kGroups + 1);
    // Group 1 carries the motor names (room for twelve letters); the other groups' boxes
    // stand centred under their "Gruppe n".
    const QFontMetrics fm(heading->font());
    QCheckBox sample(QString(12, QLatin1Char('n')));
    const int namesWidth = sample.sizeHint().width();
    const int groupWidth = fm.horizontalAdvance(parameters::groupColumnCaption(kGroups)) + 12;
    std::vector<ListColumn> overColumns{{0}};
    for (int g = 1; g < kGroups; ++g) {
        overColumns.push_back({namesWidth + spacing + (g - 1) * (groupWidth + spacing), groupWidth});
        grid->setColumnMinimumWidth(g, groupWidth);
    }
    heading->setPixelColumns(overColumns);
    for (int g = 1; g <= kGroups; ++g) {
        for (int k = 1; k <= kBankSize; ++k) {
            const int number = (g - 1) * kBankSize + k;
            auto *box = new QCheckBox(g == 1 ? defaultMotorName(k - 1) : QString(), GroupBox_GZS);
            box->setObjectName(QStringLiteral("CheckBox%1").arg(number));
            CheckBoxes[number - 1] = box;
            if (g == 1) {
                box->setFixedWidth(namesWidth);
                grid->addWidget(box, k, 0);
            } else {
                grid->addWidget(box, k, g - 1, Qt::AlignHCenter);
            }
        }
    }
    grid->setColumnStretch(kGroups, 1);
    grid->setRowStretch(kBankSize + 3, 1);
    auto *bottom = new QHBoxLayout;
    Soft_GZS = new QCheckBox(parameters::kSoftGzsCaption, GroupBox_GZS);
    Soft_GZS->setObjectName(QStringLiteral("Soft_GZS"));
    bottom->addWidget(Soft_GZS);
    bottom->addStretch(1);
    GZ_Bank_next = bankArrow("GZ_Bank_next", GroupBox_GZS);
    GZ_Bank_Label = bankLabel("GZ_Bank_Label", GroupBox_GZS);
    bottom->addWidget(GZ_Bank_next);
    bottom->addWidget(GZ_Bank_Label);
    bottom->addWidget(makeHelpButton("Help_GZS", GroupBox_GZS));
    grid->addLayout(bottom, kBankSize + 2, 0, 1, kGroups + 1);
    return GroupBox_GZS;
}

QWidget *ParameterTab::buildTimeSignalGroup()
{
    QGroupBox *g = namedGroup("GroupBox_DCF77", QStringLiteral("Funk-Zeitsignal"), this);
    auto *row = new QHBoxLayout(g);
    setGroupMargins(row);
    DCF77Button = new QPushButton(QStringLiteral("Zeitsignal (DCF77) empfangen"), g);
    DCF77Button->setObjectName(QStringLiteral("DCF77Button"));
    DCF77Button->setToolTip(QStringLiteral("Die Steuerung empfängt Datum und Uhrzeit per Funk; "
                                           "endet beim Verlassen dieser Seite"));
    row->addWidget(DCF77Button);
    return g;
}

void ParameterTab::connectControls()
{
    const std::pair<QComboBox *, void (ParameterTab::*)()> combos[] = {
        {ZufallsZeitspanne, &ParameterTab::ZufallsZeitspanneClick},
        {BeschattungsHysterese, &ParameterTab::BeschattungsHystereseClick},
        {OffsetAussentemperatur, &ParameterTab::OffsetAussentemperaturClick},
        {OffsetInnentemperatur, &ParameterTab::OffsetInnentemperaturClick},
        {Heiz_Hysterese, &ParameterTab::Heiz_HystereseClick},
    };
    for (const auto &[box, click] : combos)
        connect(box, &QComboBox::activated, this, click);

    using AlarmClick = void (ParameterTab::*)();
    const AlarmClick alarmClicks[kBankSize] = {
        &ParameterTab::AS_1Click, &ParameterTab::AS_2Click, &ParameterTab::AS_3Click, &ParameterTab::AS_4Click,
        &ParameterTab::AS_5Click, &ParameterTab::AS_6Click, &ParameterTab::AS_7Click, &ParameterTab::AS_8Click,
    };
    for (int k = 0; k < kBankSize; ++k) {
        connect(AS_Lists[k], &QListWidget::itemClicked, this, alarmClicks[k]);
        followKeyboardChoice(AS_Lists[k], [this, click = alarmClicks[k]] { (this->*click)(); });
    }

    connect(AS_Bank_next, &ReadOnlyBox::clicked, this, &ParameterTab::AS_Bank_next_Click);
    connect(GZ_Bank_next, &ReadOnlyBox::clicked, this, &ParameterTab::GZ_Bank_next_Click);
    // The send and the file take the switch from the store.
    connect(Soft_GZS, &QCheckBox::clicked, this, [this](bool checked) { w->store.SoftGZS = checked; });
    connect(DCF77Button, &QPushButton::clicked, w, &TQuorvix::DCF77ButtonClick);
}

void ParameterTab::connectMaxWind()
{
    if (m_maxWindConnected)
        return;
    QWidget *maxWind = w->findChild<QWidget *>(QStringLiteral("MaxWind"));
    if (!maxWind)
        return;
    m_maxWindConnected = true;
    if (auto *box = qobject_cast<ReadOnlyBox *>(maxWind))
        connect(box, &ReadOnlyBox::clicked, this, &ParameterTab::MaxWindClick);
    else
        maxWind->installEventFilter(new ClickFilter(this, [this] { MaxWindClick(); }));
}

void ParameterTab::startUp()
{
    m_alarmBank = 1;
    m_groupBank = 1;
    showAlarmBank();
    showGroupBank();
    loadParameterBoxes();
    AlarmStatus->setText(QStringLiteral("Kein Alarm"));
    connectMaxWind();
    // Start-up runs this page last, so every page's "?" buttons exist by now.
    w->helpBox->connectButtons();
}

void ParameterTab::enter() { ParameterEnter(); }
void ParameterTab::leave() { ParameterExit(); }

// After a read or a file load the whole store is new: the page shows it as on entering,
// and the ticks of the shown bank come from the store.
void ParameterTab::refresh()
{
    ParameterEnter();
    showGroupBank();
}

QString ParameterTab::motorName(int motorIndex) const
{
    return w->store.MotorNamen[motorIndex];
}

void ParameterTab::loadParameterBoxes()
{
    const Parameters &p = w->store.Parameter;
    showCode(ZufallsZeitspanne, p.ZufallsZeitspanne);
    showCode(BeschattungsHysterese, p.BeschattungsHysterese);
    showCode(OffsetAussentemperatur, p.Offset_AT);
    showCode(OffsetInnentemperatur, p.Offset_IT);
    showCode(Heiz_Hysterese, p.HeizungsHysterese);
    Soft_GZS->setChecked(w->store.SoftGZS);
}

void ParameterTab::ParameterEnter()
{
    m_alarmBank = 1;
    showAlarmBank();
    // The captions name the motors of the bank whose ticks are shown, whichever bank that is.
    showGroupCaptions();
    loadParameterBoxes();
}

void ParameterTab::ParameterExit()
{
    // The window ends a running time-signal reception (and resumes polling) as the page is left.
    storeGroupBank();
}

namespace {
void storeIndex(QComboBox *box, int32_t &field)
{
    if (box->currentIndex() >= 0)
        field = box->currentIndex();
}
} // namespace

void ParameterTab::ZufallsZeitspanneClick() { storeIndex(ZufallsZeitspanne, w->store.Parameter.ZufallsZeitspanne); }
void ParameterTab::BeschattungsHystereseClick()
{
    storeIndex(BeschattungsHysterese, w->store.Parameter.BeschattungsHysterese);
}
void ParameterTab::OffsetAussentemperaturClick() { storeIndex(OffsetAussentemperatur, w->store.Parameter.Offset_AT); }
void ParameterTab::OffsetInnentemperaturClick() { storeIndex(OffsetInnentemperatur, w->store.Parameter.Offset_IT); }
void ParameterTab::Heiz_HystereseClick() { storeIndex(Heiz_Hysterese, w->store.Parameter.HeizungsHysterese); }

void ParameterTab::alarmClick(int row)
{
    QListWidget *list = AS_Lists[row - 1];
    if (list->currentRow() >= 0)
        w->store.AlarmPattern[motorOfRow(m_alarmBank, row)] = list->currentRow();
}

void ParameterTab::AS_1Click() { alarmClick(1); }
void ParameterTab::AS_2Click() { alarmClick(2); }
void ParameterTab::AS_3Click() { alarmClick(3); }
void ParameterTab::AS_4Click() { alarmClick(4); }
void ParameterTab::AS_5Click() { alarmClick(5); }
void ParameterTab::AS_6Click() { alarmClick(6); }
void ParameterTab::AS_7Click() { alarmClick(7); }
void ParameterTab::AS_8Click() { alarmClick(8); }

void ParameterTab::showAlarmBank()
{
    AS_Bank_Label->setText(QString::number(m_alarmBank));
    for (int k = 1; k <= kBankSize; ++k) {
        const int m = motorOfRow(m_alarmBank, k);
        AS_Labels[k - 1]->setText(motorName(m));
        const int32_t code = w->store.AlarmPattern[m];
        QListWidget *list = AS_Lists[k - 1];
        if (code >= 0 && code < list->count())
            list->setCurrentRow(code);
        else
            list->setCurrentRow(-1);
    }
}

void ParameterTab::AS_Bank_next_Click()
{
    m_alarmBank = parameters::nextBank(m_alarmBank);
    showAlarmBank();
}

QCheckBox *ParameterTab::groupCheckBox(int group, int row) const
{
    return CheckBoxes[(group - 1) * kBankSize + row - 1];
}

void ParameterTab::showGroupCaptions()
{
    GZ_Bank_Label->setText(QString::number(m_groupBank));
    for (int k = 1; k <= kBankSize; ++k) {
        // A long name is cut by the column; the hint shows it whole.
        const QString name = motorName(motorOfRow(m_groupBank, k));
        groupCheckBox(1, k)->setText(name);
        groupCheckBox(1, k)->setToolTip(name);
    }
}

void ParameterTab::showGroupBank()
{
    showGroupCaptions();
    for (int g = 1; g <= kGroups; ++g) {
        const parameters::BankRows rows =
            parameters::rowsOfMask(w->store.GruppenZentralsteuerung[m_groupBank - 1][g - 1]);
        for (int k = 1; k <= kBankSize; ++k)
            groupCheckBox(g, k)->setChecked(rows[k - 1]);
    }
}

void ParameterTab::storeGroupBank()
{
    for (int g = 1; g <= kGroups; ++g) {
        parameters::BankRows rows{};
        for (int k = 1; k <= kBankSize; ++k)
            rows[k - 1] = groupCheckBox(g, k)->isChecked();
        w->store.GruppenZentralsteuerung[m_groupBank - 1][g - 1] = parameters::maskOfRows(rows);
    }
}

void ParameterTab::showGroupBankPage(int bank)
{
    m_groupBank = qBound(1, bank, kBanks);
    showGroupBank();
}

void ParameterTab::GZ_Bank_next_Click()
{
    storeGroupBank();
    m_groupBank = parameters::nextBank(m_groupBank);
    showGroupBank();
}

void ParameterTab::MaxWindClick()
{
    w->session.send(QStringLiteral("swl"));
    w->session.addTx(3);
}

void ParameterTab::followUp(FollowUp what)
{
    switch (what) {
    case FollowUp::AlarmPattern:
        m_alarmBank = 1;
        showAlarmBank();
        break;
    case FollowUp::Gruppen: showGroupBank(); break;
    case FollowUp::Parameters: loadParameterBoxes(); break;
    case FollowUp::MotorNamen:
        showAlarmBank();
        showGroupCaptions();
        break;
    case FollowUp::LiveValues:
        if (w->session.live.received)
            AlarmStatus->setText(w->session.live.alarmStatus);
        break;
    default: break;
    }
}

} // namespace vandorelle
