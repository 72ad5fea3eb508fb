// The drawing range and the keyboard nudge. "作図拡大" halves every coordinate about the
// paper's centre and doubles the scale coordinates are shown in, "作図縮小" does the
// opposite; Ctrl with an arrow key moves the selection by the move step.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;

// Pushed by "作図拡大" and "作図縮小", named for what taking them back does.
constexpr const char* NarrowRangeStepLabel = "作図範囲を狭くします";
constexpr const char* WidenRangeStepLabel = "作図範囲を広くします";

// The coordinate changes about the centre of a paper of w x h pixels at zoom 1; each is
// the other's inverse. Every record moves (deleted ones too), Aux1..Aux4 with the points
// except for texts, whose Aux1 is their writing direction. The paint box, the sizes that
// follow the range (block unit, dimension and text size) and the current hit follow.
void ShrinkDrawingCoordinates(TDrawingState& s, std::int32_t w, std::int32_t h);
void WidenDrawingCoordinates(TDrawingState& s, std::int32_t w, std::int32_t h);

// Twice v, saturated to 32 bits: only an undo doubles a size past them, and it puts the
// size of its step back right after.
std::int32_t Doubled(std::int32_t v);

// "作図拡大" and "作図縮小", each one step with the paper size. False, with a beep, at the
// end of the range: a doubled scale would reach 30000, a halved one would be 1 or less or
// lose an odd unit (every length shown would come out short), or a size that follows the
// range would not double within 32 bits.
bool EnlargeDrawingRange(TDrawingState& s);
bool ReduceDrawingRange(TDrawingState& s);

// One Ctrl+arrow press (virtual-key code 37 left .. 40 down): the selected figures move
// by MoveStep pixels at the current zoom; the moves add up until the key release
// records them as one step.
void NudgeSelection(TDrawingState& s, unsigned short key);

}  // namespace tarvek
