#include "ui/manual_control.h"

#include "ui/help_box.h"
#include "ui/keyboard_choice.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vandorelle {

namespace {

struct SymbolItem {
    const char16_t *logic; // the symbol-font character the item stands for
    const char16_t *glyph; // what is shown instead, since that font is absent
};

// Item index = manual choice (up, stop, down).
constexpr SymbolItem kChoiceItems[] = {
    {u"é", u"\u21E7"},
    {u"¡", u"\u25CB"},
    {u"ê", u"\u21E9"},
};
constexpr SymbolItem kNextBank = {u"è", u"\u21E8"};

QFont symbolFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(12);
    return f;
}

} // namespace

ManualControl::ManualControl(TQuorvix *window, QWidget *parent)
    : QGroupBox(parent), w(window)
{
    setObjectName(QStringLiteral("Handsteuerung"));
    setTitle(QStringLiteral("Handsteuerung"));

    auto *grid = new QGridLayout(this);
    for (int k = 1; k <= ManualControlState::kSelectors; ++k) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("HS_%1_Label").arg(k));
        // Room for a name of twelve ordinary letters; longer ones widen the box.
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString(12, QLatin1Char('n'))));
        HS_Label[k - 1] = label;
        HS[k - 1] = makeSelector(k);
        grid->addWidget(label, k - 1, 0);
        grid->addWidget(HS[k - 1], k - 1, 1);
    }

    HS_Bank_next = new QPushButton(QString::fromUtf16(kNextBank.glyph), this);
    HS_Bank_next->setObjectName(QStringLiteral("HS_Bank_next"));
    HS_Bank_next->setProperty("symbol", QString::fromUtf16(kNextBank.logic));
    HS_Bank_next->setFont(symbolFont());
    HS_Bank_next->setToolTip(QStringLiteral("Nächste Motorbank"));
    connect(HS_Bank_next, &QPushButton::clicked, this, &ManualControl::HS_Bank_next_Click);
    HS_Bank_Label = new QLabel(QStringLiteral("1"), this);
    HS_Bank_Label->setObjectName(QStringLiteral("HS_Bank_Label"));
    grid->addWidget(HS_Bank_Label, ManualControlState::kSelectors, 0, Qt::AlignRight);
    grid->addWidget(HS_Bank_next, ManualControlState::kSelectors, 1, Qt::AlignLeft);
    grid->addWidget(makeHelpButton("Help_HandStrg", this), ManualControlState::kSelectors, 2, Qt::AlignRight);
    grid->setRowStretch(ManualControlState::kSelectors + 1, 1);

    // Entering the box from outside, by mouse or keyboard, announces manual control. Losing
    // focus to another application (now == nullptr) and coming back is no new entry.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now)
            return;
        const bool inside = contains(now);
        if (inside && !m_focusInside)
            HandsteuerungEnter();
        m_focusInside = inside;
    });
    connect(&w->session, &Session::followUp, this, [this](FollowUp what) {
        if (what == FollowUp::MotorNamen)
            refreshLabels();
    });
}

QListWidget *ManualControl::makeSelector(int selector)
{
    auto *list = new QListWidget(this);
    list->setObjectName(QStringLiteral("HS_%1").arg(selector));
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(false);
    list->setFont(symbolFont());
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const SymbolItem &s : kChoiceItems) {
        auto *item = new QListWidgetItem(QString::fromUtf16(s.glyph), list);
        item->setData(Qt::UserRole, QString::fromUtf16(s.logic));
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(28, 24));
    }
    list->setFixedSize(3 * 28 + 2 * list->frameWidth() + 4, 24 + 2 * list->frameWidth());
    list->setCurrentRow(ManualStop);
    // A click also commands when the item is already chosen, so a motor can be driven again.
    connect(list, &QListWidget::itemClicked, this, [this, selector] { HS_Click(selector); });
    followKeyboardChoice(list, [this, selector] { HS_Click(selector); });
    return list;
}

bool ManualControl::contains(const QWidget *widget) const
{
    return widget && (widget == this || isAncestorOf(widget));
}

void ManualControl::send(const QString &text) { w->session.send(text); }

void ManualControl::startUp()
{
    m_state.reset();
    ShowManualBank();
}

void ManualControl::Handsteuerung_MaskeEnter()
{
    m_state.setBank(1);
    ShowManualBank();
}

void ManualControl::HandsteuerungEnter() { send(kManualEnterWrite); }

void ManualControl::HS_Click(int selector)
{
    if (m_showing || selector < 1 || selector > ManualControlState::kSelectors)
        return;
    for (const QString &write : m_state.select(selector, HS[selector - 1]->currentRow()))
        send(write);
}

void ManualControl::HS_Bank_next_Click()
{
    m_state.nextBank();
    ShowManualBank();
}

void ManualControl::Handsteuerung_MaskeExit()
{
    send(kManualExitWrite);
    m_state.reset();
    ShowManualBank();
}

void ManualControl::refreshLabels()
{
    for (int k = 1; k <= ManualControlState::kSelectors; ++k)
        HS_Label[k - 1]->setText(w->store.MotorNamen[m_state.motorAt(k) - 1]);
}

void ManualControl::ShowManualBank()
{
    m_showing = true;
    HS_Bank_Label->setText(QString::number(m_state.bank()));
    refreshLabels();
    for (int k = 1; k <= ManualControlState::kSelectors; ++k)
        HS[k - 1]->setCurrentRow(m_state.choice(m_state.motorAt(k)));
    m_showing = false;
}

} // namespace vandorelle
