// The buttons only the tablet has below its map: the four pan buttons and "台帳へ",
// which brings the ledger's windows back to the front.
#pragma once

#include <array>

namespace tarvek {

struct TDrawingState;
class TUserServices;

enum class TPanDirection { Left, Right, Up, Down };

// A tenth of the visible extent, to the nearest pixel (halves to even); negative for
// left and up.
int PanStep(TPanDirection direction, int visibleExtent);

// Moves the map a tenth of the scroll box in that direction, as far as the scroll range
// allows, and repaints it.
void PanMap(TDrawingState& s, TPanDirection direction);

// The ledger's windows, in the order they are brought forward: the last of them that
// is open ends up in front. The only place to change when the ledger's titles change.
constexpr std::array<const char*, 3> LedgerWindowTitles{
    "檀家管理「ゼルボ」タブレット - [檀家台帳]",
    "檀家管理「ゼルボ」タブレット - [過去帳台帳]",
    "檀家管理「ゼルボ」タブレット - [予約台帳]",
};

// "台帳へ": each title in turn, looked up afresh; a title that names no window is passed
// over and nothing is reported.
void BringLedgerToFront(TUserServices& ui);

}  // namespace tarvek
