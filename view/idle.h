// What every pass of the idle handler does besides the tools: it turns changes of the
// window size and of the scroll position into history steps, so that Ctrl+Z brings the
// view back, and shows the household of the plot under the pointer.
#pragma once

namespace tarvek {

struct TDrawingState;
class THouseholdView;

constexpr const char* FormSizeStepLabel = "フォームの大きさを戻す";

// What the idle pass asks of the window; the scroll position comes from s.Form.
class TIdleView {
public:
    virtual ~TIdleView() = default;
    // The main window's outer size.
    virtual int FormWidth() const = 0;
    virtual int FormHeight() const = 0;
    // The window's frame changed since the last pass (the window manager framed it):
    // the size it now has is no change of the user's.
    virtual bool FrameChanged() { return false; }
    // The edition keeps view changes in the history (the tablet edition keeps none).
    virtual bool RecordsViewSteps() const { return true; }
    // The household fields the plot under the pointer is shown in.
    virtual THouseholdView& HoverFields() = 0;
    // The throttle of the hover display: HoverBusy is cleared when it fires.
    virtual void StartHoverTimer() {}
};

// "フォームの大きさを戻す" and "スクロール位置を元に戻します" with the size and the position
// last recorded, when they changed; a scroll made while panning or dragging waits for
// the first pass after it.
void RecordViewSteps(TDrawingState& s, TIdleView& view);

// Off the drawing and editing pages and while nothing is dragged: the first live plot
// (not set aside) whose box holds HoverPos shows its household, at most once until the
// hover timer fires; off every plot the fields are cleared at once. A selection or a
// field being edited keeps the fields as they are.
void ShowPlotUnderCursor(TDrawingState& s, TIdleView& view);

}  // namespace tarvek
