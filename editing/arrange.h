// The editing page's arrangement buttons: aligning the selection ("実行" with the
// horizontal and vertical choices), the drawing order ("前移動", "後移動": figures are
// painted in index order, so moving records changes it) and groups ("グループ化",
// "グループ解除"), with the shifts that carry the members of a group or compound figure
// along with their owner.
#pragma once

#include <cstdint>

namespace tarvek {

struct TDrawingState;

constexpr const char* AlignStepLabel = "位置合わせを元に戻す";
// Named for what taking them back does: "前移動" is undone by putting the figures back.
constexpr const char* ToFrontStepLabel = "前後移動 後ろにします";
constexpr const char* ToBackStepLabel = "前後移動 前にします";
constexpr const char* GroupStepLabel = "グループ化を解除します";
constexpr const char* UngroupStepLabel = "グループ化に復活させます";

constexpr const char* GroupTooFewMessage = "２つ以上の図形を選択してください。";
constexpr const char* UngroupNoneMessage = "グループ解除する図形がありません。";

// The items of "水平方向" and "垂直方向".
enum THorizontalAlign { haNone = 0, haLeft = 1, haRight = 2, haSpread = 3 };
enum TVerticalAlign { vaNone = 0, vaBottom = 1, vaTop = 2, vaSpread = 3 };

// "実行": the top-level figures of the selection (members move with their owner) aligned
// along each axis by its choice. Fewer than two top-level figures: a beep, no step. False
// when nothing was done.
bool AlignSelection(TDrawingState& s, int horizontal, int vertical);

// Equal gaps between the top-level figures of the selection along x (y); the outermost
// ones stay. The frame is DrawPointBuffer.
void FindAlignExtremeX(TDrawingState& s);
void FindAlignExtremeY(TDrawingState& s);

// Every live member of owner, nested owners' members too, moves by dx (dy): Set* takes
// each member's box again from its points, Shift* shifts the box alike. A circle's arc
// points move with it.
void SetCompoundX(TDrawingState& s, std::int32_t owner, double dx);
void SetCompoundY(TDrawingState& s, std::int32_t owner, double dy);
void ShiftCompoundX(TDrawingState& s, std::int32_t owner, double dx);
void ShiftCompoundY(TDrawingState& s, std::int32_t owner, double dy);

// "前移動": the selection copied after every other record, the old records deleted.
// "後移動": every record shifted up by the number selected and the selection copied into
// the freed slots in front. Room for the copies is made first, or nothing changes.
bool BringSelectionToFront(TDrawingState& s);
bool SendSelectionToBack(TDrawingState& s);

// "グループ化": the selected top-level figures become the members of a new group record,
// appended last and selected. "グループ解除": the last group of the selection list lets
// its members go and is deleted. Refusals beep and say why in the help line.
bool GroupSelection(TDrawingState& s);
bool UngroupSelection(TDrawingState& s);

}  // namespace tarvek
