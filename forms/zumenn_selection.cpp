// The drawing page's selection filter and the blinking frame's timer: thin handlers over
// the picking and handle logic.
#include "editing/handles.h"
#include "editing/picking.h"
#include "forms/zumenn.h"

namespace tarvek {

int TForm_zumenn::SelectionFilter() const { return liya->ItemIndex(); }

void TForm_zumenn::SetBlinkTimer(bool running, int intervalMs) {
    Timer4->SetInterval(intervalMs);
    Timer4->SetEnabled(running);
}

void TForm_zumenn::liyaClick() { SelectionFilterClicked(S, *this, liya->ItemIndex()); }

void TForm_zumenn::Timer4Timer() { BlinkTimerTick(S); }

}  // namespace tarvek
