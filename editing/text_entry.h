// The text tool (22): a press opens an entry box at the pressed point, sized for the zoom;
// Enter places what was typed as a text figure, Esc drops it.
#pragma once

#include <cstdint>
#include <string>

#include "document/figure.h"  // TColor

namespace tarvek {

struct TDrawingState;

// The entry box (the hidden memo over the map). Hiding it is TToolView::HideTextBox.
class TTextBoxView {
public:
    virtual ~TTextBoxView() = default;
    // Shows the box emptied at (left, top) of the map's panel with the font size in
    // points, and gives it the focus.
    virtual void OpenTextBox(int left, int top, int width, int height, int fontSize) = 0;
    virtual std::string TextBoxText() const = 0;
    // Without running the change handler; the caret goes to the end.
    virtual void SetTextBoxText(const std::string& text) = 0;
    virtual void SetTextBoxWidth(int width) = 0;
    virtual void SetTextBoxColor(TColor color) = 0;
    virtual std::string TextBoxFontName() const = 0;
    // An input method is composing in the box: its Enter only ends the composition.
    virtual bool TextBoxComposing() const { return false; }
    // Where the scroll box lies on the box's parent.
    virtual int MapLeft() const { return 0; }
    virtual int MapTop() const { return 0; }
};

// The text's extent in pixels with the box's font, measured on the map's canvas: its
// advance, and the font's cell height.
struct TTextExtent {
    int Width = 0, Height = 0;
};

// Screen pixels of a point size, as the map's text is sized.
constexpr int TextPixelsPerInch = 96;

// Opens the box at MouseDownPos (half a mesh step higher), already snapped. The point is
// taken in drawing units now, and the drawing page stays locked while the box is open.
void PlaceTextMemo(TDrawingState& s, TTextBoxView& box);
// The box's change handler: a pasted line break becomes a blank, characters the code
// page cannot hold go (with a beep); the box keeps as wide as its text.
void TextMemoChanged(TDrawingState& s, TTextBoxView& box);
// The box's typed characters: one the code page cannot hold is refused with a beep.
void TextMemoKeyPress(TDrawingState& s, char32_t& key);
// A typed character the code page cannot hold is refused (key := 0) with a beep; every
// field whose text reaches a file or the ledger filters its keys through this.
void RefuseNonCp932Key(TDrawingState& s, char32_t& key);
// The box's keys (Windows virtual-key codes): Enter places the text, Esc drops it; both
// are used up, so the box never holds a line break.
void TextMemoKeyDown(TDrawingState& s, TTextBoxView& box, unsigned short& key);
TTextExtent MeasureTextBoxText(TDrawingState& s, TTextBoxView& box, const std::string& text);

}  // namespace tarvek
