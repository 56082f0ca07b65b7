#include "ui/automation_tables.h"

namespace vandorelle {

void applyPair(AutomationEditor &e, const char *first, const char *second, CodePair codes)
{
    e.setCode(first, codes.first);
    e.setCode(second, codes.second);
    e.storeCode(first);
    e.storeCode(second);
}

} // namespace vandorelle
