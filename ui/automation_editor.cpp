#include "ui/automation_editor.h"

#include "config/automation_items.h"
#include "ui/automation_displays.h"
#include "ui/main_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vandorelle {

namespace {

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

QFont listFont()
{
    QFont f(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSize(9);
    return f;
}

QFont symbolFont()
{
    return QFont(QStringLiteral("DejaVu Sans"));
}

} // namespace

AutomationEditor::AutomationEditor(TQuorvix *window, const EditorTable &t, QWidget *page)
    : QObject(page), w(window), table(t)
{
    setObjectName(utf8(t.prefix));
    groupBox = new QGroupBox(utf8(t.groupCaption), page);
    groupBox->setObjectName(utf8(t.groupBox));
    auto *box = new QVBoxLayout(groupBox);

    auto *caption = new QLabel(QStringLiteral("Motor- bzw. Raumname          EIN / AUS"), groupBox);
    caption->setObjectName(utf8(t.motorCaption));
    box->addWidget(caption);

    auto *top = new QHBoxLayout;
    raum = new QComboBox(groupBox);
    raum->setObjectName(utf8(t.prefix) + QStringLiteral("_Raum"));
    for (int m = 0; m < kMotors; ++m)
        raum->addItem(defaultMotorName(m));
    raum->setMinimumContentsLength(12);
    top->addWidget(raum);
    add(raum);

    for (const ComboEntry &f : t.fields) {
        auto *c = new QComboBox(groupBox);
        c->setObjectName(utf8(f.name));
        if (f.symbols) {
            addSymbolItems(c, f.items());
            c->setFont(symbolFont());
        } else {
            c->addItems(f.items());
        }
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        if (f.hint)
            c->setToolTip(utf8(f.hint));
        add(c);
    }
    onOff = combo(t.onOff);
    top->addWidget(onOff);
    top->addStretch(1);
    help = new QPushButton(QStringLiteral("?"), groupBox);
    help->setObjectName(utf8(t.help));
    help->setToolTip(QStringLiteral("Hilfe"));
    help->setCursor(Qt::WhatsThisCursor);
    help->setFixedWidth(24);
    top->addWidget(help);
    box->addLayout(top);

    for (const DisplayEntry &d : t.displays) {
        auto *e = new ReadOnlyBox(utf8(d.name), QString(), groupBox);
        if (d.symbols)
            e->setFont(symbolFont());
        if (d.hint)
            e->setToolTip(utf8(d.hint));
        e->setMaximumWidth(52);
        add(e);
    }

    auto *details = new QGridLayout;
    int column = 0;
    for (const DetailColumn &col : t.details) {
        auto *label = new QLabel(utf8(col.caption), groupBox);
        label->setObjectName(utf8(col.label));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        add(label);
        details->addWidget(label, 0, column);
        auto *cell = new QHBoxLayout;
        for (const char *name : col.controls)
            cell->addWidget(control(name));
        cell->addStretch(1);
        details->addLayout(cell, 1, column);
        ++column;
    }
    details->setColumnStretch(column, 1);
    box->addLayout(details);
    box->addStretch(1);

    listColumn = new QVBoxLayout;
    auto *headerRow = new QHBoxLayout;
    for (const HeaderEntry &h : t.headers) {
        auto *label = new QLabel(page);
        label->setObjectName(utf8(h.name));
        if (h.symbols) {
            label->setText(shownSymbols(utf8(h.text)));
            label->setFont(symbolFont());
        } else {
            label->setText(utf8(h.text));
        }
        headerRow->addWidget(label);
    }
    headerRow->addStretch(1);
    listColumn->addLayout(headerRow);

    list = new QListWidget(page);
    list->setObjectName(utf8(t.list));
    list->setFont(listFont());
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setToolTip(QStringLiteral(
        "Anklicken überträgt Werte in Eingabemasken (links), Doppel-Klick für EIN / AUS"));
    for (int m = 0; m < kMotors; ++m)
        list->addItem(defaultMotorName(m));
    listColumn->addWidget(list, 1);
}

void AutomationEditor::add(QWidget *widget)
{
    m_controls.insert(widget->objectName(), widget);
}

// ---- the pattern ----

void AutomationEditor::startUp()
{
    for (const DisplayEntry &d : table.displays) {
        if (d.symbols)
            display(d.name)->setSymbolText(utf8(d.text));
        else
            display(d.name)->setText(utf8(d.text));
    }
    for (int m = 0; m < kMotors; ++m) {
        raum->setItemText(m, defaultMotorName(m));
        list->item(m)->setText(defaultMotorName(m));
    }
    raum->setCurrentIndex(0);
    list->setCurrentRow(0);
    loadFields();
    showFields();
}

void AutomationEditor::tabEnter()
{
    const ConfigStore &s = configStore();
    for (int m = 0; m < kMotors; ++m)
        raum->setItemText(m, s.MotorNamen[m]);
    if (table.beforeEnter)
        table.beforeEnter(*this);
    raum->setCurrentIndex(qMax(0, list->currentRow()));
    loadFields();
    showFields();
    drawList();
    list->setCurrentRow(motor());
}

void AutomationEditor::raumClick()
{
    if (raum->currentIndex() < 0 || (!flags().BankModel && raum->currentIndex() > 7))
        raum->setCurrentIndex(0);
    configStore().markPending(table.table, motor());
    loadFields();
    showFields();
    drawList();
    list->setCurrentRow(motor());
}

void AutomationEditor::fieldClick(const char *control)
{
    const ComboEntry &f = entry(control);
    if (f.rule)
        f.rule(*this);
    else
        storeCode(control);
}

void AutomationEditor::listeClick()
{
    if (!flags().BankModel && list->currentRow() > 7)
        list->setCurrentRow(0);
    if (list->currentRow() < 0)
        return;
    raum->setCurrentIndex(list->currentRow());
    loadFields();
    showFields();
}

void AutomationEditor::listeDblClick()
{
    // Normally the click before has limited the selection already; a bare double-click
    // must not switch a motor that the controller does not have.
    if (!flags().BankModel && list->currentRow() > 7)
        list->setCurrentRow(0);
    if (list->currentRow() < 0)
        return;
    raum->setCurrentIndex(list->currentRow());
    int32_t &einAus = entry(table.onOff).field(configStore(), motor());
    einAus = einAus == 0 ? 1 : 0;
    raumClick();
}

void AutomationEditor::showFields()
{
    const bool on = isOn();
    if (table.showFields) {
        table.showFields(*this, on);
        return;
    }
    for (const DetailColumn &col : table.details) {
        control(col.label)->setVisible(on);
        for (const char *name : col.controls)
            control(name)->setVisible(on);
    }
}

void AutomationEditor::drawList()
{
    const ConfigStore &s = configStore();
    for (int m = 0; m < kMotors; ++m) {
        const QString line = table.line(s, flags(), m, raum->itemText(m));
        QListWidgetItem *item = list->item(m);
        if (item->text() != line)
            item->setText(line);
    }
}

void AutomationEditor::loadFields()
{
    for (const ComboEntry &f : table.fields)
        setCode(f.name, f.field(configStore(), motor()));
    if (table.afterLoad)
        table.afterLoad(*this);
}

void AutomationEditor::loadField(const char *name)
{
    setCode(name, field(name));
}

// ---- helpers for the tables ----

int AutomationEditor::motor() const
{
    return qBound(0, raum->currentIndex(), kMotors - 1);
}

ConfigStore &AutomationEditor::configStore() const
{
    return w->store;
}

const DeviceFlags &AutomationEditor::flags() const
{
    return w->session.flags;
}

QWidget *AutomationEditor::control(const char *name) const
{
    QWidget *widget = m_controls.value(QString::fromUtf8(name));
    Q_ASSERT_X(widget, "AutomationEditor::control", name);
    return widget;
}

QComboBox *AutomationEditor::combo(const char *name) const
{
    return qobject_cast<QComboBox *>(control(name));
}

ReadOnlyBox *AutomationEditor::display(const char *name) const
{
    return qobject_cast<ReadOnlyBox *>(control(name));
}

int32_t AutomationEditor::code(const char *name) const
{
    return combo(name)->currentIndex();
}

void AutomationEditor::setCode(const char *name, int32_t value)
{
    QComboBox *c = combo(name);
    c->setCurrentIndex(value >= 0 && value < c->count() ? value : -1);
}

int32_t &AutomationEditor::field(const char *name)
{
    return entry(name).field(configStore(), motor());
}

void AutomationEditor::storeCode(const char *name)
{
    // A combo without selection stands for a stored code outside its list: keep that code.
    if (code(name) >= 0)
        field(name) = code(name);
}

void AutomationEditor::setSymbol(const char *name, const QString &logicText)
{
    display(name)->setSymbolText(logicText);
}

bool AutomationEditor::isOn() const
{
    return onOff->currentIndex() >= 0 && onOff->currentText() == items::kEin;
}

void AutomationEditor::setShown(std::initializer_list<const char *> names, bool shown)
{
    for (const char *name : names)
        control(name)->setVisible(shown);
}

const ComboEntry &AutomationEditor::entry(const char *name) const
{
    for (const ComboEntry &f : table.fields)
        if (qstrcmp(f.name, name) == 0)
            return f;
    qFatal("AutomationEditor: no field %s", name);
}

} // namespace vandorelle
