// The map's view on the form: zoom buttons, the wheel, the loupe button, resizing, and
// the scroll box and paint box geometry the zoom logic works on.
#include <QCursor>
#include <QPainter>
#include <QScrollArea>

#include "forms/zumenn.h"
#include "editing/drawing_tools.h"
#include "platform/canvas.h"
#include "view/painter.h"
#include "view/zoom.h"

namespace tarvek {

void TForm_zumenn::Button1Click() {
    if (ZoomByButton(S, true)) PaintBox1->Invalidate();
}

void TForm_zumenn::Button2Click() {
    if (ZoomByButton(S, false)) PaintBox1->Invalidate();
}

void TForm_zumenn::BitBtn1MouseEnter() {
    S.SetHelpLine("選択されている図形を中心に（又は表示画面を中心に）表示範囲を狭くさせます。「拡大」");
}

void TForm_zumenn::BitBtn2MouseEnter() {
    S.SetHelpLine("選択されている図形を中心に（又は表示画面を中心に）表示範囲を広くさせます。「縮小」");
}

void TForm_zumenn::BitBtn54Click() {
    S.CurrentTool = 101;
    S.HelpText = "拡大鏡　左クリック・範囲ドラックで拡大　右クリックで縮小";
    S.SetHelpLine(S.HelpText);
    if (ScreenCursors[0]) PaintBox1->SetCursor(*ScreenCursors[0]);
    Edit1->SetFocus();
}

void TForm_zumenn::BitBtn54MouseEnter() { S.SetHelpLine("ルーペ（拡大率の変更）"); }

void TForm_zumenn::PaintBox1MouseWheel(TShiftState, int delta, int x, int y, bool& handled) {
    handled = true;
    S.HoverPos = {x, y};
    if (ZoomByWheel(S, delta)) PaintBox1->Invalidate();
}

void TForm_zumenn::FormResize() {
    // A ledger request is filling the selection and sets the view itself.
    if (!S.SelectedList.empty() && S.SelectedList[0] == -999) return;
    // Even sizes, so that half of each is whole: the figures are centred on half the map.
    const auto odd = [](const TControl* c) { return c->Width() % 2 != 0 || c->Height() % 2 != 0; };
    for (TControl* c : std::initializer_list<TControl*>{this, Panel1})
        if (odd(c)) c->SetBounds(c->Left(), c->Top(), c->Width() + c->Width() % 2, c->Height() + c->Height() % 2);
    if (S.Zoom == 1 && odd(ScrollBox1))
        ScrollBox1->SetBounds(ScrollBox1->Left(), ScrollBox1->Top(), ScrollBox1->Width() - ScrollBox1->Width() % 2,
                              ScrollBox1->Height() - ScrollBox1->Height() % 2);
    ResizeView(S);
    if (S.Zoom == 1) PaintBox1->Invalidate();
    Edit1->SetFocus();
}

void TForm_zumenn::PaintMapImage() {
    const int w = std::max(1, ScrollBox1->ClientWidth()), h = std::max(1, ScrollBox1->ClientHeight());
    if (MapImage.width() != w || MapImage.height() != h) MapImage = QImage(w, h, QImage::Format_RGB32);
    // The paper: the box's colour, or the picture stretched over the visible part.
    MapImage.fill(TColorToRgb(ScrollBox1->Color()));
    if (!Image1->Empty()) {
        QPainter paper(&MapImage);
        paper.drawImage(QRect(0, 0, w, h), Image1->Picture());
    }
    TImageCanvas canvas(MapImage);
    canvas.SetOrigin(ScrollBox1->HorzScrollPos(), ScrollBox1->VertScrollPos());
    DrawDrawing(S, canvas, MapPaintInputs());
}

TPaintInputs TForm_zumenn::MapPaintInputs() const {
    TPaintInputs in;
    in.ActivePage = ActivePageIndex();
    in.ScrollX = ScrollBox1->HorzScrollPos();
    in.ScrollY = ScrollBox1->VertScrollPos();
    in.ScrollBoxWidth = ScrollBox1->Width();
    in.ScrollBoxHeight = ScrollBox1->Height();
    in.PaintBoxWidth = PaintBox1->Width();
    in.PaintBoxHeight = PaintBox1->Height();
    in.NameSizePosition = UpDown1->Position();
    in.RotateNames = CheckBox2->Checked();
    in.ClipNames = clip_Check->Checked();
    in.PaperColor = PaintBox1->Color();
    return in;
}

void TForm_zumenn::PaintBox1Paint(QPainter& painter, const QRect& dirty) {
    const QPoint scroll(ScrollBox1->HorzScrollPos(), ScrollBox1->VertScrollPos());
    // A paint asked for by a rubber band alone shows the map image as it is: the band is
    // already drawn on it.
    const bool bandOnly = !PendingBand.isEmpty() && PendingBand.contains(dirty) &&
                          !PendingBand.contains(QRect(scroll, MapImage.size())) && scroll == BandScroll &&
                          S.Zoom == BandZoom && !MapImage.isNull() &&
                          MapImage.size() == QSize(ScrollBox1->ClientWidth(), ScrollBox1->ClientHeight()) &&
                          PendingMarks.empty();
    PendingBand = QRect();
    if (bandOnly) {
        painter.drawImage(dirty, MapImage, dirty.translated(-scroll));
        return;
    }
    // Every other repaint draws the whole visible map again, into an image the size of the
    // visible part only: the paint box itself can be tens of thousands of pixels wide. The
    // band in progress is then drawn back onto it.
    PaintMapImage();
    PaintPendingMarks();
    BandScroll = scroll;
    BandZoom = S.Zoom;
    InMapPaint = true;
    ToolMapRepainted(S);
    InMapPaint = false;
    PendingBand = QRect();  // drawn onto this image, shown just below
    painter.drawImage(scroll, MapImage);
}

TColor TForm_zumenn::MapPixel(int x, int y) const {
    const int ix = x - ScrollBox1->HorzScrollPos(), iy = y - ScrollBox1->VertScrollPos();
    if (MapImage.isNull() || ix < 0 || iy < 0 || ix >= MapImage.width() || iy >= MapImage.height()) return PixelOutside;
    return RgbToTColor(MapImage.pixel(ix, iy));
}

int TForm_zumenn::ScrollBoxWidth() const { return ScrollBox1->Width(); }
int TForm_zumenn::ScrollBoxHeight() const { return ScrollBox1->Height(); }
int TForm_zumenn::PaintBoxWidth() const { return PaintBox1->Width(); }
int TForm_zumenn::PaintBoxHeight() const { return PaintBox1->Height(); }

void TForm_zumenn::SetPaintBoxSize(int width, int height) {
    PaintBox1->SetBounds(PaintBox1->Left(), PaintBox1->Top(), std::max(width, 1), std::max(height, 1));
}

int TForm_zumenn::HorzScrollPos() const { return ScrollBox1->HorzScrollPos(); }
int TForm_zumenn::VertScrollPos() const { return ScrollBox1->VertScrollPos(); }

void TForm_zumenn::SetScrollPos(int x, int y) {
    ScrollBox1->SetHorzScrollPos(x);
    ScrollBox1->SetVertScrollPos(y);
}

void TForm_zumenn::WarpPointerToMapCentre() {
    const QWidget* box = ScrollBox1->Widget();
    QCursor::setPos(box->mapToGlobal(QPoint(box->width() / 2, box->height() / 2)));
}

void TForm_zumenn::FocusSink() { Edit1->SetFocus(); }

}  // namespace tarvek
