#pragma once

#include "config/editor_fields.h"
#include "config/store.h"
#include "protocol/device_family.h"
#include "ui/window_style.h"

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QObject>

#include <initializer_list>
#include <vector>

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace vandorelle {

class AutomationEditor;
class ReadOnlyBox;
class TQuorvix;

using EditorHook = void (*)(AutomationEditor &);

// A combo whose click applies a rule between fields; the others store their code.
struct FieldRule {
    const char *control;
    EditorHook rule;
};

// A read-only edit derived from the record (or fixed), not a store field.
struct DisplayEntry {
    const char *name;
    const char *text;
    const char *hint = nullptr;
    bool symbols = false;
};

// A heading over the list; each of its phrases stands over its column of the lines.
struct HeaderEntry {
    const char *name;
    const char *text;
    bool symbols = false;
    std::vector<ListColumn> columns = {};
};

using LineFormat = QString (*)(const ConfigStore &, const DeviceFlags &, int motor,
                               const QString &name);

// Everything that makes one editor differ from the others: its fields and captions (from the
// core), and how the window shows and handles them.
struct EditorTable {
    const EditorSpec &editor;
    const char *groupBox;
    const char *motorCaption; // label over the motor and on/off combos
    const char *help;
    const char *list;
    std::vector<HeaderEntry> headers; // plain labels above the list
    std::vector<FieldRule> rules = {};
    std::vector<DisplayEntry> displays;
    LineFormat line;
    EditorHook afterLoad = nullptr;                      // derived displays from the record
    void (*showFields)(AutomationEditor &, bool on) = nullptr; // else all details follow on/off
    EditorHook beforeEnter = nullptr;
};

// One per-motor automation editor: a motor combo, an on/off combo, field combos bound to
// the record of the chosen motor, and an overview list of all 32 motors. Choices are
// written to the store at once; there is no OK or Cancel.
class AutomationEditor : public QObject {
    Q_OBJECT
public:
    AutomationEditor(TQuorvix *window, const EditorTable &table, QWidget *page);

    TQuorvix *const w;
    const EditorTable &table;
    QGroupBox *groupBox = nullptr;
    QComboBox *raum = nullptr;
    QComboBox *onOff = nullptr;
    QPushButton *help = nullptr;
    QListWidget *list = nullptr;
    QVBoxLayout *listColumn = nullptr; // headers above the list, for the page's layout

    // Puts the captions and controls into rows that fit a group box this wide.
    void arrangeGroup(int width);
    // A control of the page that stands in the group box's last row, after its blocks;
    // it is not a detail and stays shown. Call after arrangeGroup.
    void addToLastRow(QWidget *widget);

    void startUp();
    void tabEnter();      // names, motor from the list, fields, visibility, list
    void raumClick();     // motor chosen, and after every field edit
    void fieldClick(const char *control);
    void listeClick();
    void listeDblClick(); // on/off of the motor under the cursor
    void showFields();
    void drawList();
    void loadFields();
    void loadField(const char *control);

    // For the rules and hooks of the tables.
    int motor() const;
    ConfigStore &configStore() const;
    const DeviceFlags &flags() const;
    QWidget *control(const char *name) const;
    QComboBox *combo(const char *name) const;
    ReadOnlyBox *display(const char *name) const;
    int32_t code(const char *combo) const;
    void setCode(const char *combo, int32_t code); // no selection when out of range
    int32_t &field(const char *combo);             // of the motor shown
    void storeCode(const char *combo);              // kept when the combo has no selection
    void setSymbol(const char *display, const QString &logicText);
    bool isOn() const;
    void setShown(std::initializer_list<const char *> names, bool shown);

private:
    // A caption over the controls it names.
    struct Block {
        QLabel *caption;
        QHBoxLayout *controls;
        int width;
    };

    void buildList(QWidget *page);
    void addBlock(QLabel *caption, const std::vector<QWidget *> &controls);
    const FieldSpec &entry(const char *name) const;
    void add(QWidget *widget);
    QHash<QString, QWidget *> m_controls;
    std::vector<Block> m_blocks;
};

// Puts editors one under the other into a page's grid, each group box in `column` with its
// list to the right; the lists get the width of the widest, and the group boxes arrange
// their controls in what is left of the page beside the lists and `beside` (the width of
// what the page puts in the same rows). The last list may reach down further, over
// `lastListRows` rows, beside what the page puts under the last group box. Returns the
// first free row.
int layOutEditors(QGridLayout *grid, int column, std::initializer_list<AutomationEditor *> editors,
                  int beside = 0, int lastListRows = 1);

// Connects a page's handlers to its combos: the user's choice runs the click handler,
// then the change handler (if any).
template <class Page>
struct ComboWiring {
    const char *control;
    void (Page::*click)();
    void (Page::*change)() = nullptr;
};

template <class Page>
void wireCombos(Page *page, std::initializer_list<ComboWiring<Page>> rows)
{
    for (const ComboWiring<Page> &row : rows) {
        auto *box = page->template findChild<QComboBox *>(QString::fromLatin1(row.control));
        Q_ASSERT(box);
        QObject::connect(box, &QComboBox::activated, page, [page, row] {
            (page->*row.click)();
            if (row.change)
                (page->*row.change)();
        });
    }
}

template <class Page>
struct ListWiring {
    QListWidget *list;
    void (Page::*click)();
    void (Page::*doubleClick)();
};

template <class Page>
void wireLists(Page *page, std::initializer_list<ListWiring<Page>> rows)
{
    for (const ListWiring<Page> &row : rows) {
        QListWidget *list = row.list;
        QObject::connect(list, &QListWidget::itemClicked, page, [page, row] { (page->*row.click)(); });
        // A double-click is preceded by a click on the same line, which applies the
        // motor limit to the selection before the on/off switch.
        QObject::connect(list, &QListWidget::itemDoubleClicked, page,
                         [page, row, list](QListWidgetItem *item) {
                             if (item)
                                 list->setCurrentItem(item);
                             (page->*row.click)();
                             (page->*row.doubleClick)();
                         });
    }
}

} // namespace vandorelle
