// The idle pass: whenever the GUI thread has handled every event and is about to wait,
// the view changes become history steps, the snap point is tracked, the plot under the
// pointer is shown and a drag that left the map scrolls it.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>

#include "editing/drawing_tools.h"
#include "forms/zumenn.h"
#include "view/idle.h"
#include "view/zoom.h"

namespace tarvek {

void TForm_zumenn::InstallIdleHandler() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || IdleConnection) return;
    // The dispatcher is about to block in every loop, modal ones included, as the
    // questions and dialogs must not stop the view steps and the tracking.
    IdleConnection = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, Widget(),
                                      [this] { ApplicationIdle(); });
}

void TForm_zumenn::ApplicationIdle() {
    // A pass that opens a box (a full store, a ledger that does not answer) runs a loop
    // of its own, which would start another pass inside this one.
    if (IdleRunning) return;
    IdleRunning = true;
    struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } done{IdleRunning};
    // The tablet keeps no history, so its pass has no view steps to take.
    if (!Tablet()) RecordViewSteps(S, *this);
    TrackSnapPoint(S);
    ShowPlotUnderCursor(S, *this);
    // A band left behind where the pointer went out would stay on the map.
    if (AutoScrollAtEdge(S, PointerPlace()) && S.Edition->ErasesPreviewLeavingMap()) EraseToolPreview(S);
}

bool TForm_zumenn::FrameChanged() {
    const QSize extra(WindowWidth() - ClientWidth(), WindowHeight() - ClientHeight());
    const bool changed = LastFrameExtra.isValid() && extra != LastFrameExtra;
    LastFrameExtra = extra;
    return changed;
}

void TForm_zumenn::StartHoverTimer() { Timer2->SetEnabled(true); }

TPointerPlace TForm_zumenn::PointerPlace() const {
    TPointerPlace p;
    const QPoint global = QCursor::pos();
    const QWidget* under = QApplication::widgetAt(global);
    const TControl* control = under ? TControl::FromWidget(under) : nullptr;
    p.Control = control;
    p.OverMap = control == PaintBox1;
    const QPoint onForm = Widget()->mapFromGlobal(global);
    p.FormX = onForm.x();
    p.FormY = onForm.y();
    const QPoint map = ScrollBox1->Widget()->mapTo(Widget(), QPoint(0, 0));
    p.MapLeft = map.x();
    p.MapTop = map.y();
    p.MapWidth = ScrollBox1->Width();
    p.MapHeight = ScrollBox1->Height();
    return p;
}

}  // namespace tarvek
