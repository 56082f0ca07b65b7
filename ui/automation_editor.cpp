#include "ui/automation_editor.h"

#include "config/automation_items.h"
#include "ui/automation_displays.h"
#include "ui/main_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vandorelle {

namespace {

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

QFont symbolFont()
{
    return QFont(QStringLiteral("DejaVu Sans"));
}

const QString kMotorCaption = QStringLiteral("Motor- bzw. Raumname          ") + kOnOffCaption;

// Hidden details keep their place, so the group box does not jump when a motor is
// switched on or off.
void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// Wide enough for a few characters more than it starts with ("250", "F<", an arrow).
int displayWidth(const QLineEdit *box)
{
    const int chars = std::max<int>(3, box->text().size()) + 1;
    return box->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('0'))) + 10;
}

int shownWidth(const QWidget *widget)
{
    return std::clamp(widget->sizeHint().width(), widget->minimumWidth(), widget->maximumWidth());
}

constexpr int kBlockSpacing = 6;
constexpr int kControlSpacing = 2;

} // namespace

AutomationEditor::AutomationEditor(TQuorvix *window, const EditorTable &t, QWidget *page)
    : QObject(page), w(window), table(t)
{
    const EditorSpec &editor = t.editor;
    setObjectName(utf8(editor.prefix));
    buildList(page);

    groupBox = new QGroupBox(utf8(editor.groupCaption), page);
    groupBox->setObjectName(utf8(t.groupBox));

    auto *caption = new QLabel(kMotorCaption, groupBox);
    caption->setObjectName(utf8(t.motorCaption));
    raum = new QComboBox(groupBox);
    raum->setObjectName(utf8(editor.prefix) + QStringLiteral("_Raum"));
    for (int m = 0; m < kMotors; ++m)
        raum->addItem(defaultMotorName(m));
    // The on/off box stands under "EIN / AUS" of the caption.
    const QString beforeOnOff = kMotorCaption.left(kMotorCaption.indexOf(kOnOffCaption));
    raum->setFixedWidth(caption->fontMetrics().horizontalAdvance(beforeOnOff) - kControlSpacing);
    add(raum);

    for (const FieldSpec &f : editor.fields) {
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
    onOff = combo(editor.onOff);
    help = new QPushButton(QStringLiteral("?"), groupBox);
    help->setObjectName(utf8(t.help));
    help->setToolTip(QStringLiteral("Hilfe"));
    help->setCursor(Qt::WhatsThisCursor);
    help->setFixedWidth(24);

    for (const DisplayEntry &d : t.displays) {
        auto *e = new ReadOnlyBox(utf8(d.name), utf8(d.text), groupBox);
        if (d.symbols)
            e->setFont(symbolFont());
        if (d.hint)
            e->setToolTip(utf8(d.hint));
        e->setFixedWidth(displayWidth(e));
        e->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        e->clear();
        add(e);
    }

    addBlock(caption, {raum, onOff});
    for (const CaptionSpec &col : editor.captions) {
        auto *label = new QLabel(utf8(col.caption), groupBox);
        label->setObjectName(utf8(col.label));
        add(label);
        std::vector<QWidget *> controls;
        for (const char *name : col.controls)
            controls.push_back(control(name));
        for (QWidget *c : controls)
            keepPlaceWhenHidden(c);
        keepPlaceWhenHidden(label);
        addBlock(label, controls);
    }
}

void AutomationEditor::addBlock(QLabel *caption, const std::vector<QWidget *> &controls)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(kControlSpacing);
    int width = 0;
    for (QWidget *c : controls) {
        row->addWidget(c);
        width += shownWidth(c) + (width > 0 ? kControlSpacing : 0);
    }
    caption->setAlignment(caption->alignment() | Qt::AlignBottom);
    fitCaption(caption, width);
    m_blocks.push_back({caption, row, std::max(width, caption->width())});
}

void AutomationEditor::arrangeGroup(int width)
{
    const QMargins frame = groupBox->contentsMargins();
    const int budget = width - frame.left() - frame.right() - 2 * kPageMargin;
    // Blocks fill rows no wider than that, in their order (the first row also holds the
    // help button); in a row the captions share the height of the highest, so that the
    // controls stand in line.
    std::vector<std::vector<Block>> rows(1);
    int used = help->width() + 2 * kBlockSpacing; // and the stretch before it
    for (const Block &b : m_blocks) {
        if (!rows.back().empty() && used + kBlockSpacing + b.width > budget) {
            rows.emplace_back();
            used = 0;
        }
        used += (rows.back().empty() ? 0 : kBlockSpacing) + b.width;
        rows.back().push_back(b);
    }
    auto *box = new QVBoxLayout(groupBox);
    setGroupMargins(box);
    box->setSpacing(3);
    QWidget *helpButton = help;
    for (const std::vector<Block> &row : rows) {
        int captionHeight = 0;
        for (const Block &b : row)
            captionHeight = std::max(captionHeight, b.caption->minimumHeight());
        auto *line = new QHBoxLayout;
        line->setSpacing(kBlockSpacing);
        for (const Block &b : row) {
            b.caption->setFixedHeight(captionHeight);
            auto *column = new QVBoxLayout;
            column->setSpacing(0);
            column->addWidget(b.caption);
            column->addLayout(b.controls);
            b.controls->setAlignment(Qt::AlignLeft); // under a wider caption, not stretched
            line->addLayout(column);
        }
        box->addLayout(line);
        if (helpButton) {
            line->addStretch(1);
            line->addWidget(helpButton, 0, Qt::AlignBottom);
            helpButton = nullptr;
        } else {
            line->setAlignment(Qt::AlignLeft);
        }
    }
    box->addStretch(1);
}

void AutomationEditor::addToLastRow(QWidget *widget)
{
    auto *box = qobject_cast<QVBoxLayout *>(groupBox->layout());
    Q_ASSERT(box && box->count() >= 2); // the rows and the stretch under them
    auto *last = box->itemAt(box->count() - 2)->layout();
    widget->setParent(groupBox);
    last->addWidget(widget);
    last->setAlignment(widget, Qt::AlignBottom);
}

int layOutEditors(QGridLayout *grid, int column, std::initializer_list<AutomationEditor *> editors, int beside,
                  int lastListRows)
{
    int listWidth = 0;
    for (AutomationEditor *e : editors)
        listWidth = std::max(listWidth, e->list->minimumWidth());
    int row = 0;
    for (AutomationEditor *e : editors) {
        e->list->setMinimumWidth(listWidth);
        e->arrangeGroup(kPageWidth - 2 * kPageMargin - beside - listWidth - kPageSpacing);
        grid->addWidget(e->groupBox, row, column);
        const bool last = e == *(editors.end() - 1);
        grid->addLayout(e->listColumn, row, column + 1, last ? lastListRows : 1, 1);
        grid->setRowStretch(row++, 1);
    }
    grid->setColumnStretch(column + 1, 1);
    return row;
}

void AutomationEditor::buildList(QWidget *page)
{
    list = new QListWidget(page);
    list->setObjectName(utf8(table.list));
    setUpOverviewList(list);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setToolTip(QStringLiteral(
        "Anklicken überträgt Werte in Eingabemasken (links), Doppel-Klick für EIN / AUS"));
    for (int m = 0; m < kMotors; ++m)
        list->addItem(defaultMotorName(m));

    // The headings of a list share its columns, so they lie over one another.
    auto *headings = new QGridLayout;
    int lineChars = 12;
    int headingWidth = 0;
    ColumnHeading *before = nullptr;
    for (const HeaderEntry &h : table.headers) {
        auto *label = new ColumnHeading(h.symbols ? shownSymbols(utf8(h.text)) : utf8(h.text), page);
        label->setObjectName(utf8(h.name));
        if (h.symbols)
            label->setFont(symbolFont());
        label->setColumns(h.columns);
        label->setFirstCharacterAt(listTextLeft(list));
        label->setAfter(before);
        before = label;
        headings->addWidget(label, 0, 0);
        for (const ListColumn &c : h.columns)
            lineChars = std::max(lineChars, c.start + c.width);
        headingWidth = std::max(headingWidth, label->sizeHint().width());
    }
    const int lineWidth = 2 * listTextLeft(list) + int(std::ceil(lineChars * listCharWidth()))
                          + list->verticalScrollBar()->sizeHint().width();
    list->setMinimumWidth(std::max(headingWidth, lineWidth));

    listColumn = new QVBoxLayout;
    listColumn->setSpacing(1);
    listColumn->addLayout(headings);
    auto *rows = new WholeRows(page, 4);
    rows->add(list);
    listColumn->addWidget(rows, 1);
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
    configStore().markPending(table.editor.table, motor());
    loadFields();
    showFields();
    drawList();
    list->setCurrentRow(motor());
}

void AutomationEditor::fieldClick(const char *control)
{
    for (const FieldRule &r : table.rules) {
        if (qstrcmp(r.control, control) == 0) {
            r.rule(*this);
            return;
        }
    }
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
    int32_t &einAus = entry(table.editor.onOff).field(configStore(), motor());
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
    for (const CaptionSpec &col : table.editor.captions) {
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
    for (const FieldSpec &f : table.editor.fields)
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

const FieldSpec &AutomationEditor::entry(const char *name) const
{
    if (const FieldSpec *f = table.editor.field(name))
        return *f;
    qFatal("AutomationEditor: no field %s", name);
}

} // namespace vandorelle
