#include "ui/schaltzeit_transfer.h"

#include "ui/main_window.h"

namespace vandorelle {

// Placeholder until the exchanges are wired in.
void TransferPanel::setUpExchange() {}
void TransferPanel::Read_ButtonClick() {}
void TransferPanel::FinishReadAll() {}
void TransferPanel::Send_ButtonClick() {}

} // namespace vandorelle
