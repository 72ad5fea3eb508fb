#include "editing/text_entry.h"

#include <memory>

#include "document/drawing_state.h"
#include "document/figure_store.h"
#include "document/history.h"
#include "document/selection.h"
#include "editing/drawing_tools.h"
#include "editing/figure_creation.h"
#include "platform/canvas.h"
#include "platform/numbers.h"
#include "platform/textfile.h"

namespace tarvek {

namespace {

constexpr unsigned short KeyBack = 8, KeyReturn = 13, KeyEscape = 27, KeyDelete = 46;
constexpr TColor BoxWindow = static_cast<TColor>(0xFF000005u);  // the system window colour
constexpr TColor BoxSkyBlue = 0xF0CAA6;

void EnableDrawTab(TDrawingState& s, bool enabled) {
    if (s.Tools.Ops.SetDrawTabEnabled) s.Tools.Ops.SetDrawTabEnabled(enabled);
}

void CloseTextBox(TDrawingState& s) {
    ToolView(s).HideTextBox();
    EnableDrawTab(s, true);
    s.Form->FocusSink();
    s.Tools.TextEraseKey = 0;
}

// Room for one more record. A full store that a compaction cannot relieve only says so:
// the refused Enter leaves the history as it was, and the typed text waits in the box.
bool RoomForText(TDrawingState& s) {
    if (s.FigureCount + 1 < MaxFigures) return true;
    std::int32_t freed = 0;
    for (std::int32_t i = 1; i <= s.FigureCount; ++i)
        if (s.Fig(i).Deleted) ++freed;
    if (freed > 0 && freed + 1 > s.SelectedCount) return ReserveFigures(s, 1);
    s.Ui.MessageDlg(StoreFullMessage, TMsgDlgType::mtWarning, mbOK);
    return false;
}

// The text as a figure at the point the box was opened for, measured at that zoom.
bool AppendTextFigure(TDrawingState& s, TTextBoxView& box, const std::string& text) {
    if (!RoomForText(s)) return false;
    const TToolState::TTextEntry& e = s.Tools.TextEntry;
    const TTextExtent extent = MeasureTextBoxText(s, box, text);
    const std::int32_t i = ++s.FigureCount;
    TDateRec& r = s.Fig(i);
    r = TDateRec{};
    InitNewFigure(s);
    r.Kind = fkText;
    r.X1 = r.X4 = e.X;
    r.Y1 = r.Y2 = e.Y;
    r.X2 = r.X3 = e.X + extent.Width * 1000.0 / e.Zoom;
    r.Y3 = r.Y4 = e.Y + extent.Height * 1000.0 / e.Zoom;
    r.BoxX1 = r.X1, r.BoxY1 = r.Y1, r.BoxX2 = r.X3, r.BoxY2 = r.Y3;
    r.Text = text;
    r.Deleted = 0;
    r.Aux1 = 1.0;  // horizontal writing
    r.FontName = s.CurFontName;
    return true;
}

}  // namespace

TTextExtent MeasureTextBoxText(TDrawingState& s, TTextBoxView& box, const std::string& text) {
    std::unique_ptr<TImageCanvas> own;
    TCanvas* c = ToolView(s).PreviewCanvas();
    if (!c) c = (own = std::make_unique<TImageCanvas>(1, 1)).get();
    const TFont saved = c->Font;
    c->Font = TFont{};
    c->Font.Name = box.TextBoxFontName();
    c->Font.Height = static_cast<int>(RoundHalfEven(s.Tools.TextEntry.FontSize * double(TextPixelsPerInch) / 72.0));
    // The painter draws a text with its box's height as the font's cell height, which is
    // what Font.Height means on the canvas: that height gives back the glyphs typed.
    const TTextExtent extent{c->TextWidth(text), c->Font.Height};
    c->Font = saved;
    return extent;
}

void PlaceTextMemo(TDrawingState& s, TTextBoxView& box) {
    TToolState::TTextEntry& e = s.Tools.TextEntry;
    s.MouseDownPos.y -= s.MeshStep / 2;  // the box's top half a mesh step above the press
    e.X = s.MouseDownPos.x * 1000.0 / s.Zoom;
    e.Y = s.MouseDownPos.y * 1000.0 / s.Zoom;
    e.Zoom = s.Zoom;
    e.FontSize = s.Tools.TextSize * s.Zoom;
    const int left = s.MouseDownPos.x + box.MapLeft() - s.Form->HorzScrollPos();
    const int top = s.MouseDownPos.y + box.MapTop() - s.Form->VertScrollPos();
    // A release may open the box too: the page stays locked while it is open.
    EnableDrawTab(s, false);
    box.OpenTextBox(left, top, (e.FontSize + 5) * e.Zoom, (s.Tools.TextSize + 5) * e.Zoom, e.FontSize);
    TextMemoChanged(s, box);
}

void TextMemoChanged(TDrawingState& s, TTextBoxView& box) {
    const std::string typed = box.TextBoxText();
    std::string text;
    bool refused = false;
    for (const char32_t c : TextCodePoints(typed)) {
        if (c == U'\n' || c == U'\r') text += ' ';  // as the files keep a text on one line
        else if (IsCp932Char(c)) text += CodePointUtf8(c);
        else refused = true;
    }
    if (text != typed) box.SetTextBoxText(text);
    if (refused) s.Ui.Beep();
    const TToolState::TTextEntry& e = s.Tools.TextEntry;
    if (text.empty()) {
        box.SetTextBoxColor(BoxSkyBlue);
        box.SetTextBoxWidth((e.FontSize + 5) * e.Zoom);
    } else {
        box.SetTextBoxColor(BoxWindow);
        box.SetTextBoxWidth(MeasureTextBoxText(s, box, text).Width + e.FontSize);
    }
}

void TextMemoKeyPress(TDrawingState& s, char32_t& key) {
    if (key < 0x20 || key == 0x7F) return;  // Enter, Esc, Backspace, ... are the key handler's
    RefuseNonCp932Key(s, key);
}

void RefuseNonCp932Key(TDrawingState& s, char32_t& key) {
    if (IsCp932Char(key)) return;
    key = 0;
    s.Ui.Beep();
}

void TextMemoKeyDown(TDrawingState& s, TTextBoxView& box, unsigned short& key) {
    s.Tools.TextEraseKey = key == KeyBack || key == KeyDelete ? 1 : 0;
    if (key == KeyEscape) {
        key = 0;
        CloseTextBox(s);
        return;
    }
    if (key != KeyReturn) return;
    key = 0;
    if (box.TextBoxComposing()) return;
    const std::string text = box.TextBoxText();
    // Nothing typed: as Esc, rather than an empty figure nobody can see or pick.
    if (text.empty()) {
        CloseTextBox(s);
        return;
    }
    // A full store keeps the box open with what was typed, and changes nothing.
    if (!AppendTextFigure(s, box, text)) return;
    s.DrawingUnchanged = 0;
    RebuildSelectionList(s, true);
    if (ToolView(s).SelectAfterDrawing()) UpdateSelectionCount(s);
    PushHistory(s, CreationStepLabel).Data.AddNumber(1);
    CloseTextBox(s);
    s.Form->RepaintMap();
}

}  // namespace tarvek
