// The drawing page's tool buttons and the map's mouse and keys: the handlers only pass
// the events on to the drawing tools, and show their rubber bands on the map image.
#include <QCursor>
#include <QPainter>

#include "editing/drawing_range.h"
#include "editing/drawing_tools.h"
#include "editing/handles.h"
#include "editing/move_transform.h"
#include "editing/picking.h"
#include "editing/plot_blocks.h"
#include "editing/text_entry.h"
#include "forms/zumenn.h"
#include "platform/canvas.h"

namespace tarvek {

static_assert(ToolShiftKey == ssShift && ToolCtrlKey == ssCtrl, "tool shift bits follow TShiftState");
static_assert(VK_CONTROL == 17 && VK_SPACE == 32 && VK_LEFT == 37 && VK_DELETE == 46,
              "the tools take Windows virtual-key codes");

namespace {

TToolButton ToToolButton(TMouseButton button) {
    return button == mbRight ? TToolButton::Right : button == mbMiddle ? TToolButton::Middle : TToolButton::Left;
}

}  // namespace

void TForm_zumenn::BindDrawingTools() {
    S.Tools.View = this;
    S.Tools.Ops.PlaceBlock = [this](int x, int y) { PlaceBlock(S, *this, x, y); };
    S.Tools.Ops.PlaceTextMemo = [this] { PlaceTextMemo(S, *this); };
    S.Tools.MeshSnap = ComboBox5->ItemIndex() == 1 ? 0 : 1;
    // While a figure is being placed, no other tool and no other page can be chosen; the
    // line width and style stay open, the attributes of the figure in hand.
    S.Tools.Ops.SetDrawTabEnabled = [this](bool enabled) {
        TTabSheet* tab = Tabs[3];
        for (int i = 0; i < tab->ControlCount(); ++i) {
            TControl* c = tab->Controls(i);
            if (c->Name == "PaintBox2" || c->Name == "pen_width_conb" || c->Name == "pen_sty_conb") continue;
            c->SetEnabled(enabled);
        }
        PageControl1->SetEnabled(enabled);
    };
    TToolOperations& ops = S.Tools.Ops;
    ops.NudgeSelection = [this](unsigned short key) {
        NudgeSelection(S, key);
        PaintBox1->Invalidate();
    };
    ops.FindHandleUnderCursor = [this](int x, int y) { FindHandleUnderCursor(S, x, y); };
    ops.SelectAtPoint = [this](unsigned shift) { return SelectAtPoint(S, *this, shift); };
    ops.SelectInRectangle = [this](unsigned shift) { SelectInRectangle(S, *this, shift); };
    ops.SelectAllFigures = [this] { SelectAllFigures(S, *this); };
    ops.DrawPointMarkers = [this](TCanvas& canvas) { DrawPointMarkers(S, canvas); };
    ops.HitTestPointMarkers = [this] { HitTestPointMarkers(S); };
    ops.DrawDragPreview = [this](TCanvas& canvas, int fromX, int fromY, int toX, int toY, std::int32_t handle) {
        DrawDragPreview(S, canvas, fromX, fromY, toX, toY, handle);
    };
    ops.CommitMoveOrTransform = [this](unsigned shift, int x, int y) { CommitMoveOrTransform(S, *this, shift, x, y); };
    ops.UndoLast = [this] {
        UndoLastStep();
        PaintBox1->Invalidate();
    };
}

// ---- TToolView ----------------------------------------------------------------------

TCanvas* TForm_zumenn::PreviewCanvas() {
    if (MapImage.isNull()) return nullptr;
    if (!ToolCanvas) ToolCanvas = std::make_shared<TImageCanvas>(MapImage);
    static_cast<TImageCanvas&>(*ToolCanvas).SetOrigin(HorzScrollPos(), VertScrollPos());
    return ToolCanvas.get();
}

void TForm_zumenn::PreviewChanged(int left, int top, int right, int bottom) {
    const QRect r(QPoint(left, top), QPoint(right - 1, bottom - 1));
    PendingBand = PendingBand.isEmpty() ? r : PendingBand.united(r);
    if (!InMapPaint) PaintBox1->Widget()->update(r);
}

void TForm_zumenn::SetPaintCursor(TToolCursor cursor) {
    switch (cursor) {
    case TToolCursor::Default: PaintBox1->SetCursor(QCursor(Qt::ArrowCursor)); break;
    case TToolCursor::Cross: PaintBox1->SetCursor(QCursor(Qt::CrossCursor)); break;
    case TToolCursor::IBeam: PaintBox1->SetCursor(QCursor(Qt::IBeamCursor)); break;
    case TToolCursor::None: PaintBox1->SetCursor(QCursor(Qt::BlankCursor)); break;
    case TToolCursor::HandPoint: PaintBox1->SetCursor(QCursor(Qt::PointingHandCursor)); break;
    case TToolCursor::SizeNWSE: PaintBox1->SetCursor(QCursor(Qt::SizeFDiagCursor)); break;
    case TToolCursor::SizeNESW: PaintBox1->SetCursor(QCursor(Qt::SizeBDiagCursor)); break;
    case TToolCursor::SizeAll: PaintBox1->SetCursor(QCursor(Qt::SizeAllCursor)); break;
    case TToolCursor::Loupe:
        if (ScreenCursors[0]) PaintBox1->SetCursor(*ScreenCursors[0]);
        break;
    case TToolCursor::Rotate:
        if (ScreenCursors[2]) PaintBox1->SetCursor(*ScreenCursors[2]);
        break;
    }
}

void TForm_zumenn::NudgePointer() {
    const QPoint p = QCursor::pos();
    QCursor::setPos(p + QPoint(1, 0));
    QCursor::setPos(p);
}

void TForm_zumenn::MovePointerBy(int dx, int dy) { QCursor::setPos(QCursor::pos() + QPoint(dx, dy)); }

bool TForm_zumenn::SelectAfterDrawing() const { return ck_true->Checked(); }

bool TForm_zumenn::TextBoxVisible() const { return Memo1->Visible(); }

void TForm_zumenn::HideTextBox() {
    Memo1->SetVisible(false);
    S.Tools.TextEraseKey = 0;
}

void TForm_zumenn::ShowCoordinates(const std::string& text) {
    if (Label2) Label2->SetCaption(text);  // the tablet shows no coordinates
}

// ---- Map mouse and form keys --------------------------------------------------------

void TForm_zumenn::PaintBox1MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    ToolMouseDown(S, ToToolButton(button), shift, x, y);
}

void TForm_zumenn::PaintBox1MouseMove(TShiftState shift, int x, int y) {
    ToolMouseMove(S, shift, (shift & ssLeft) != 0, x, y);
}

void TForm_zumenn::PaintBox1MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    ToolMouseUp(S, ToToolButton(button), shift, x, y);
}

void TForm_zumenn::FormKeyDown(unsigned short& key, TShiftState shift) {
    ToolKeyDown(S, key, shift);
}

void TForm_zumenn::FormKeyUp(unsigned short& key, TShiftState shift) {
    ToolKeyUp(S, key, shift);
}

// ---- Tool buttons -------------------------------------------------------------------

void TForm_zumenn::Button6Click() { ChooseSelectTool(S); }
void TForm_zumenn::Button3Click() { ChooseTool(S, fkLine); }
void TForm_zumenn::BitBtn33Click() { ChooseTool(S, fkCurve); }
void TForm_zumenn::BitBtn47Click() { ChooseTool(S, fkEllipse); }
void TForm_zumenn::BitBtn48Click() { ChooseTool(S, fkDimension); }
void TForm_zumenn::BitBtn51Click() { ChooseTool(S, fkPolySegment); }
void TForm_zumenn::BitBtn52Click() { ChooseTool(S, 8); }
void TForm_zumenn::BitBtn53Click() { ChooseTool(S, fkLeader); }
void TForm_zumenn::Button4Click() { ChooseTool(S, fkRectangle); }
void TForm_zumenn::Button8Click() { ChooseTool(S, fkText); }
void TForm_zumenn::Button7Click() { ChooseBlockTool(S, false); }
void TForm_zumenn::BitBtn45Click() { ChooseBlockTool(S, true); }
void TForm_zumenn::BitBtn46Click() { ChooseRotateTool(S); }

}  // namespace tarvek
