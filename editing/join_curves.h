// Joining selected straight lines into one smooth path: the lines are put into path
// order by their nearest ends, every corner between two of them becomes a cubic piece
// from the middle of one over the corner to the middle of the next, and a new parent
// binds the pieces. "線開連結" leaves the ends open, "線閉連結" closes the path.
#pragma once

#include <cstdint>
#include <vector>

namespace tarvek {

struct TDrawingState;

constexpr const char* OpenJoinStepLabel = "曲線化の取消し";
constexpr const char* ClosedJoinStepLabel = "閉じた曲線化の取消し";
constexpr const char* JoinRefusedMessage = "連結する対象がないか、既に連結されています。選択し直してください。";

// The join's step holds, per line in selection order, its index, the 16 geometry values,
// OwnerIndex and Kind (JoinStepEntryFields numbers), then per slot the index of the
// record the join moved into it: enough for an undo to give every record back its slot.
constexpr std::size_t JoinStepEntryFields = 19;

// Whether the selection can be joined: at least two lines (kinds 1, 4, 7, 10), and
// nothing but lines and the groups or compound parents (kinds 30 to 33) they came in.
bool SelectionIsConnectable(const TDrawingState& s);

// Puts the selected lines into path order in their own slots: the first one starts, each
// next is the nearest free line to the end placed last, turned round when its far end
// is the nearer one; whole records move. Returns, per slot of the selection list, the
// index of the record that now lies there.
std::vector<std::int32_t> ChainSelectedSegments(TDrawingState& s);

// "線開連結" (closed false) and "線閉連結". False when the selection cannot be joined (a
// beep and the refusal in the help line: nothing changes, no step) or the store has no
// room for the new records (told as every creator tells it).
bool JoinSelectedLines(TDrawingState& s, bool closed);

}  // namespace tarvek
