// Ctrl+C, Ctrl+X and Ctrl+V inside the drawing (nothing goes to the system clipboard) and
// the Delete key. The paste buffer names records of the store: copied figures stay where
// they are, cut ones stay in the store marked deleted until a paste brings them back.
// Pasted copies of plots are new, empty plots; the ledger hears of every plot added or
// removed, and removing plots with households is asked first.
#pragma once

#include <cstdint>
#include <string>

namespace tarvek {

struct TDrawingState;

constexpr const char* PasteStepLabel = "貼り付けの取消し";
constexpr const char* PasteCutStepLabel = "貼付けの取消し";
constexpr const char* CutStepLabel = "切取りを取消し";
constexpr const char* DeleteStepLabel = "削除された図形を復活させる";

// The question before removing plots with households: action is "切取り" or "削除".
std::string HouseholdsQuestion(const TDrawingState& s, std::int32_t plots, const std::string& action);

// Ctrl+C (CutMode 0) or Ctrl+X (CutMode 1): the selection into the paste buffer. A cut
// marks the figures deleted with its step and a "削除" list. When nothing is buffered (no
// selection, or the households question answered No) the buffer and CutMode stay what
// they were.
void CopyOrCutSelection(TDrawingState& s);

// Ctrl+V after a copy: copies of the buffered figures beside the selection (in
// PasteDirection, mirrored when the view says so) or, with nothing selected, under the
// pointer. Room for every copy is made first or nothing happens. The copies become the
// selection and the buffer, so the next Ctrl+V places the next copy beside them.
void PasteCopiedFigures(TDrawingState& s);

// Ctrl+V after a cut: the cut figures come back, moved to the selection's bottom right
// corner or under the pointer, with their households; afterwards the buffer holds them
// as copies.
void PasteCutFigures(TDrawingState& s);

// The Delete key. recordStep false: the tablet edition, which keeps no history.
void DeleteSelectedFigures(TDrawingState& s, bool recordStep = true);

}  // namespace tarvek
