#include "ui/schedule_controls.h"

#include "config/symbol_texts.h"
#include "config/text_codec.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QToolTip>
#include <QValidator>

namespace vandorelle {

namespace {

class SymbolDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &) const override
    {
        return SymbolComboBox::displayText(value.toString());
    }
};

// Names travel to the controller and into files as Windows-1252; a control character would
// split a line of the configuration file.
class MotorNameValidator : public QValidator {
public:
    MotorNameValidator(std::function<void()> onRefused, QObject *parent)
        : QValidator(parent), m_onRefused(std::move(onRefused))
    {
    }
    State validate(QString &input, int &) const override
    {
        bool ok = representableInWindows1252(input);
        for (QChar c : input)
            ok = ok && c.unicode() >= 0x20 && c.unicode() != 0x7f;
        if (ok)
            return Acceptable;
        m_onRefused();
        return Invalid;
    }

private:
    std::function<void()> m_onRefused;
};

} // namespace

SymbolComboBox::SymbolComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setItemDelegate(new SymbolDelegate(this));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    setFont(f);
}

QString SymbolComboBox::displayText(const QString &symbol)
{
    return shownSymbols(symbol);
}

void SymbolComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = displayText(option.currentText);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

MotorNameComboBox::MotorNameComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion would turn a typed "Motor 1" into "Motor 10" behind the user's back.
    setCompleter(nullptr);
    setValidator(new MotorNameValidator([this] { emit nameRefused(); }, this));
    connect(this, &MotorNameComboBox::nameRefused, this, [this] {
        QToolTip::showText(mapToGlobal(QPoint(0, height())), refusedNameHint(), this);
    });
}

QString MotorNameComboBox::refusedNameHint()
{
    return QStringLiteral("Dieses Zeichen ist in Motornamen nicht möglich");
}

void MotorNameComboBox::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

void MotorNameComboBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Handled here alone: the box would otherwise look the text up among the items and
        // select the first motor that happens to carry the same name.
        emit enterPressed();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void MotorNameComboBox::focusOutEvent(QFocusEvent *event)
{
    // Opening the list moves the focus to it; the drop-down handles that case.
    if (event->reason() != Qt::PopupFocusReason)
        emit focusLeft();
    QComboBox::focusOutEvent(event);
}

ScheduleList::ScheduleList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
}

void ScheduleList::mousePressEvent(QMouseEvent *event)
{
    const QPoint inList = viewport()->mapTo(this, event->position().toPoint());
    emit pointerDown(inList.x());
    QListWidget::mousePressEvent(event);
}

void ScheduleList::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit keyboardMoved();
}

} // namespace vandorelle
