#include "ui/schaltzeit_transfer.h"

#include "ui/main_window.h"

namespace vandorelle {

// Placeholder until the configuration file is wired in.
void TransferPanel::SaveToDisk_ButtonClick() {}
void TransferPanel::Read_From_DiskClick() {}

} // namespace vandorelle
