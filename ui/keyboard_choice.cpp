#include "ui/keyboard_choice.h"

#include <QEvent>
#include <QListWidget>

namespace vandorelle {

namespace {

class KeyboardChoice : public QObject {
public:
    KeyboardChoice(QListWidget *list, std::function<void()> onChange)
        : QObject(list), m_list(list), m_onChange(std::move(onChange))
    {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_list || event->type() != QEvent::KeyPress)
            return false;
        // The list handles the key first; only then is it known whether the choice moved.
        const int before = m_list->currentRow();
        static_cast<QObject *>(m_list)->event(event);
        if (m_list->currentRow() != before && m_list->currentRow() >= 0)
            m_onChange();
        return true;
    }

private:
    QListWidget *m_list;
    std::function<void()> m_onChange;
};

} // namespace

void followKeyboardChoice(QListWidget *list, std::function<void()> onChange)
{
    new KeyboardChoice(list, std::move(onChange));
}

} // namespace vandorelle
