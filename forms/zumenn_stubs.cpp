// Handlers of operations that are not built yet: each one does nothing.
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::gp_setClick() {}
void TForm_zumenn::gp_resetClick() {}
void TForm_zumenn::BitBtn41Click() {}
void TForm_zumenn::BitBtn42Click() {}
void TForm_zumenn::BitBtn10Click() {}

// The tablet's household buttons, its co-owner list and its selection summary.
void TForm_zumenn::SetRequestedHouseholdClick() {}
void TForm_zumenn::ResetHouseholdsClick() {}
void TForm_zumenn::TabletStringGrid4MouseDown(TMouseButton, TShiftState, int, int) {}
void TForm_zumenn::ShowTabletSelectionSummary() {}

}  // namespace tarvek
