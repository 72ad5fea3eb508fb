#include "document/figure.h"

#include <array>

namespace tarvek {

namespace {
// Index order of the style combo boxes.
constexpr std::array<TPenStyle, 5> PenStyleMap = {TPenStyle::psSolid, TPenStyle::psDash,
                                                  TPenStyle::psDot, TPenStyle::psDashDot,
                                                  TPenStyle::psDashDotDot};
constexpr std::array<TBrushStyle, 8> BrushStyleMap = {
    TBrushStyle::bsSolid,     TBrushStyle::bsClear,      TBrushStyle::bsBDiagonal,
    TBrushStyle::bsFDiagonal, TBrushStyle::bsCross,      TBrushStyle::bsDiagCross,
    TBrushStyle::bsHorizontal, TBrushStyle::bsVertical};
}  // namespace

TPenStyle PenStyleFromIndex(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(PenStyleMap.size())) return TPenStyle::psSolid;
    return PenStyleMap[static_cast<std::size_t>(index)];
}

TBrushStyle BrushStyleFromIndex(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(BrushStyleMap.size())) return TBrushStyle::bsClear;
    return BrushStyleMap[static_cast<std::size_t>(index)];
}

}  // namespace tarvek
