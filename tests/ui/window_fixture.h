#pragma once

#include "ui/automation_displays.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QStringList>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace vandorelle::test {

// A started window without a serial line; error boxes are collected instead of shown.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-window-test");
        ui::dialogHooks().error = [this](QWidget *, const QString &text) { errors << text; };
        w = std::make_unique<TQuorvix>();
        w->startUp();
        errors.clear(); // the port that cannot be opened
    }

    void TearDown() override
    {
        w.reset();
        ui::resetDialogHooks();
    }

    template <class T>
    T *find(const char *name)
    {
        T *widget = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // A user's choice: the item becomes current, then the box reports it.
    void choose(const char *combo, int index)
    {
        QComboBox *box = find<QComboBox>(combo);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    void clickLine(const char *list, int row)
    {
        QListWidget *l = find<QListWidget>(list);
        l->setCurrentRow(row);
        emit l->itemClicked(l->item(row));
    }

    void doubleClickLine(const char *list, int row)
    {
        QListWidget *l = find<QListWidget>(list);
        emit l->itemDoubleClicked(l->item(row));
    }

    // A left mouse press, as the user's click arrives at a widget.
    static void press(QWidget *widget)
    {
        const QPointF at(3, 3);
        QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    void press(const char *name) { press(find<QWidget>(name)); }

    QString line(const char *list, int row) { return find<QListWidget>(list)->item(row)->text(); }
    QString current(const char *combo) { return find<QComboBox>(combo)->currentText(); }
    bool shown(const char *name) { return !find<QWidget>(name)->isHidden(); }
    int index(const char *combo) { return find<QComboBox>(combo)->currentIndex(); }
    QString text(const char *box) { return find<ReadOnlyBox>(box)->text(); }
    QString caption(const char *label) { return find<QLabel>(label)->text(); }
    ConfigStore &store() { return w->store; }

    void enterPage(QWidget *page)
    {
        w->Parameter_Maske->setCurrentWidget(page);
        ASSERT_EQ(w->Parameter_Maske->currentWidget(), page);
    }

    std::unique_ptr<TQuorvix> w;
    QStringList errors;
};

} // namespace vandorelle::test
