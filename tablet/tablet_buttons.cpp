#include "tablet/tablet_buttons.h"

#include "document/drawing_state.h"
#include "platform/numbers.h"
#include "view/zoom.h"

namespace tarvek {

int PanStep(TPanDirection direction, int visibleExtent) {
    const bool back = direction == TPanDirection::Left || direction == TPanDirection::Up;
    return static_cast<int>(RoundHalfEven((back ? -visibleExtent : visibleExtent) / 10.0));
}

void PanMap(TDrawingState& s, TPanDirection direction) {
    const bool across = direction == TPanDirection::Left || direction == TPanDirection::Right;
    const int step = PanStep(direction, across ? s.Form->ScrollBoxWidth() : s.Form->ScrollBoxHeight());
    ScrollMapBy(s, across ? step : 0, across ? 0 : step);
}

void BringLedgerToFront(TUserServices& ui) {
    ui.RaiseWindowsTitled({LedgerWindowTitles.begin(), LedgerWindowTitles.end()});
}

}  // namespace tarvek
