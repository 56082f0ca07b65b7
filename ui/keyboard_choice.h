#pragma once

#include <functional>

class QListWidget;

namespace vandorelle {

// A choice list that the keyboard can move as well as the mouse: every change a key makes runs
// onChange once, as a click would; a key that changes nothing (a held key at the end of the
// list) runs nothing.
void followKeyboardChoice(QListWidget *list, std::function<void()> onChange);

} // namespace vandorelle
