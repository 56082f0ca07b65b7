#pragma once

#include <QComboBox>
#include <QListWidget>

#include <functional>

namespace vandorelle {

// Drop-down list whose items are symbol-font characters ("é", "ê"): the items keep those
// texts, which the logic compares, and show the arrows they stand for.
class SymbolComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit SymbolComboBox(QWidget *parent = nullptr);
    static QString displayText(const QString &symbol);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The editable motor box: reports Enter, leaving the box and opening its list, before the
// box itself reacts, and refuses names that the controller's character set cannot carry.
class MotorNameComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MotorNameComboBox(QWidget *parent = nullptr);
    void showPopup() override;

    static QString refusedNameHint();

signals:
    void enterPressed();
    void focusLeft();
    void dropDown();
    void nameRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// A schedule list: remembers where the pointer went down and reports selection moves made
// with the keyboard (mouse clicks come through QListWidget::clicked).
class ScheduleList : public QListWidget {
    Q_OBJECT
public:
    explicit ScheduleList(QWidget *parent = nullptr);

signals:
    void pointerDown(int x);   // x in the list's own coordinates
    void keyboardMoved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace vandorelle
