#include "config/parameter_banks.h"

namespace vandorelle::parameters {

int32_t maskOfRows(const BankRows &ticked)
{
    int32_t mask = 0;
    for (int k = 0; k < kBankSize; ++k) {
        if (ticked[k])
            mask |= 1 << k;
    }
    return mask;
}

BankRows rowsOfMask(int32_t mask)
{
    BankRows rows{};
    for (int k = 0; k < kBankSize; ++k)
        rows[k] = (mask >> k) & 1;
    return rows;
}

} // namespace vandorelle::parameters
