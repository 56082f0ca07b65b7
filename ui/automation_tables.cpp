#include "ui/automation_tables.h"

#include "config/automation_items.h"

namespace vandorelle {

void applyPair(AutomationEditor &e, const char *first, const char *second, CodePair codes)
{
    e.setCode(first, codes.first);
    e.setCode(second, codes.second);
    e.storeCode(first);
    e.storeCode(second);
}

ComboEntry arrows(const char *name, FieldRef field, const char *hint, EditorHook rule)
{
    return {.name = name, .items = items::directions, .field = field, .hint = hint, .rule = rule,
            .symbols = true};
}

} // namespace vandorelle
