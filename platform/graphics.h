// The colour and the pen and brush styles of our class library's graphics: the canvas,
// the components and the drawing's records all speak them.
#pragma once

#include <cstdint>

namespace tarvek {

using TColor = std::int32_t;  // $00BBGGRR; system colours are $FF0000nn

// Pen and brush styles in the toolkit's order, which the canvas counts on.
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot };
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
                         bsCross, bsDiagCross };

}  // namespace tarvek
