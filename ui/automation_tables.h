#pragma once

#include "config/automation_rules.h"
#include "ui/automation_editor.h"

namespace vandorelle {

// One table per automation editor: its controls, item lists, list line and rules.
const EditorTable &shadingTable();      // BA
const EditorTable &dawnTable();         // DM
const EditorTable &duskTable();         // DA
const EditorTable &windTable();         // EW
const EditorTable &rainTable();         // ER
const EditorTable &humidityTable();     // RelF
const EditorTable &proportionalTable(); // PT
const EditorTable &insideTable();       // IT
const EditorTable &outsideTable();      // AT
const EditorTable &pushButtonTable();   // Tast
const EditorTable &reversingTable();    // RA

// A rule's result, written back to both combos and both fields.
void applyPair(AutomationEditor &e, const char *first, const char *second, CodePair codes);

// Builders that keep the tables short.
inline DisplayEntry shown(const char *name, const char *text, const char *hint = nullptr)
{
    return {.name = name, .text = text, .hint = hint};
}
inline DisplayEntry symbol(const char *name, const char *text)
{
    return {.name = name, .text = text, .symbols = true};
}
// The columns are characters of the editor's list line (config/automation_lines.cpp).
inline HeaderEntry header(const char *name, const char *text, std::vector<ListColumn> columns)
{
    return {.name = name, .text = text, .columns = std::move(columns)};
}

} // namespace vandorelle
