// Handlers of operations that are not built yet: each one does nothing.
#include "forms/zumenn.h"

namespace tarvek {

// The tablet's household buttons, its co-owner list and its selection summary.
void TForm_zumenn::SetRequestedHouseholdClick() {}
void TForm_zumenn::ResetHouseholdsClick() {}
void TForm_zumenn::TabletStringGrid4MouseDown(TMouseButton, TShiftState, int, int) {}
void TForm_zumenn::ShowTabletSelectionSummary() {}

}  // namespace tarvek
