#pragma once

#include "config/store.h"

#include <array>

// Banks of eight motors on the parameter tab, and the group member masks behind the
// check boxes of one bank.
namespace vandorelle::parameters {

constexpr int kBankSize = 8;

constexpr int nextBank(int bank) { return bank >= kBanks ? 1 : bank + 1; }
// Motor index 0..31 of row k (1..8) of bank b (1..4).
constexpr int motorOfRow(int bank, int row) { return kBankSize * (bank - 1) + row - 1; }

using BankRows = std::array<bool, kBankSize>; // row k at index k-1

int32_t maskOfRows(const BankRows &ticked);
// Rows whose bit is set; bits above the eighth belong to no row of the bank.
BankRows rowsOfMask(int32_t mask);

} // namespace vandorelle::parameters
