#include "ui/automation_displays.h"

#include "config/automation_items.h"
#include "ui/window_style.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>

namespace vandorelle {

void addSymbolItems(QComboBox *box, const QStringList &logicTexts)
{
    for (const QString &t : logicTexts)
        box->addItem(shownSymbols(t), t);
}

ReadOnlyBox::ReadOnlyBox(const QString &objectName, const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
    setObjectName(objectName);
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
}

void ReadOnlyBox::setSymbolText(const QString &logicText)
{
    m_logic = logicText;
    setText(shownSymbols(logicText));
}

void ReadOnlyBox::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

namespace {
// Wide enough for "-12,3°".
constexpr int kBoxWidth = 48;
constexpr int kSpacing = 4;
} // namespace

QGroupBox *temperatureGroup(QWidget *parent, const QString &name, const QString &caption,
                            const QString &minName, const QString &actualName,
                            const QString &maxName, TemperatureBoxes &boxes)
{
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    auto *grid = new QGridLayout(group);
    setGroupMargins(grid);
    grid->setHorizontalSpacing(kSpacing);
    grid->setVerticalSpacing(0);
    auto *heading = new ColumnHeading(QStringLiteral("Min    Aktuell   Max"), group);
    std::vector<ListColumn> overBoxes;
    for (int k = 0; k < 3; ++k)
        overBoxes.push_back({k * (kBoxWidth + kSpacing), kBoxWidth});
    heading->setPixelColumns(overBoxes);
    grid->addWidget(heading, 0, 0, 1, 3);
    boxes.min = new ReadOnlyBox(minName, QString(), group);
    boxes.actual = new ReadOnlyBox(actualName, QString(), group);
    boxes.max = new ReadOnlyBox(maxName, QString(), group);
    boxes.min->setToolTip(QStringLiteral("Min-Wert der letzten 24 Stunden"));
    boxes.max->setToolTip(QStringLiteral("Max-Wert der letzten 24 Stunden"));
    int column = 0;
    for (ReadOnlyBox *box : {boxes.min, boxes.actual, boxes.max}) {
        box->setFixedWidth(kBoxWidth);
        grid->addWidget(box, 1, column++);
    }
    return group;
}

namespace {
void showTemperatures(const TemperatureBoxes &boxes, const QString &min, const QString &actual,
                      const QString &max)
{
    boxes.min->setText(min);
    boxes.actual->setText(actual);
    boxes.max->setText(max);
}
} // namespace

void showInsideTemperatures(const TemperatureBoxes &boxes, const LiveValues &live)
{
    showTemperatures(boxes, live.insideMin, live.insideActual, live.insideMax);
}

void showOutsideTemperatures(const TemperatureBoxes &boxes, const LiveValues &live)
{
    showTemperatures(boxes, live.outsideMin, live.outsideActual, live.outsideMax);
}

} // namespace vandorelle
