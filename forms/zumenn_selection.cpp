// The drawing page's selection filter, the blinking frame's timer and the handle under
// the pointer: thin handlers over the picking and handle logic.
#include "editing/handles.h"
#include "editing/picking.h"
#include "forms/zumenn.h"

namespace tarvek {

int TForm_zumenn::SelectionFilter() const { return liya->ItemIndex(); }

void TForm_zumenn::SetBlinkTimer(bool running, int intervalMs) {
    Timer4->SetInterval(intervalMs);
    Timer4->SetEnabled(running);
}

void TForm_zumenn::TrackPointer() { FindHandleUnderCursor(S, S.HoverPos.x, S.HoverPos.y); }

void TForm_zumenn::liyaClick() { SelectionFilterClicked(S, *this, liya->ItemIndex()); }

void TForm_zumenn::Timer4Timer() {
    BlinkTimerTick(S);
    // The phase decides whether an own point on a frame corner is a handle now.
    TrackPointer();
}

}  // namespace tarvek
