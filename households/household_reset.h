// "檀家リセット": the households come off the selected plots. The reset copy of a
// shared plot is removed, since a set keeps one record per household; the last copy of
// a set leaves it.
#pragma once

namespace tarvek {

struct TDrawingState;

// Asks first; with Yes the plots are reset, removed copies go to the ledger as "削除"
// and every plot still selected as "変更". False when nothing was reset.
bool ResetSelectedHouseholds(TDrawingState& s);

}  // namespace tarvek
