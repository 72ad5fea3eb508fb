// The current pen, brush and font, and the selection's: the drawing page's colour, style
// and width lists, the eyedropper and "適応"; the editing page's font, household-name
// size and direction and dimension text size; the mesh interval and the move step. Each
// change the user can take back is one step holding the old values; the attribute
// changes of the drawing page end with the selection cleared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/figure.h"

namespace tarvek {

struct TDrawingState;
class TCanvas;
struct TRect;

constexpr const char* PenColorStepLabel = "枠線の色を元に戻す";
constexpr const char* BrushColorStepLabel = "内部色を元に戻す";
constexpr const char* PenStyleStepLabel = "線のスタイルを元に戻す";
constexpr const char* PenWidthStepLabel = "線の太さを元に戻す";
constexpr const char* BrushStyleStepLabel = "内部色のスタイルを元に戻す";
constexpr const char* TakeAttributesStepLabel = "色属性を元に戻す";
constexpr const char* ApplyAttributesStepLabel = "色属性の適応を元に戻す";
constexpr const char* FontStepLabel = "フォントを戻す";
constexpr const char* ApplyFontStepLabel = "フォントの適応を戻す";
constexpr const char* NameSizeStepLabel = "檀家名文字の大きさを戻す";
constexpr const char* DimensionSizeStepLabel = "寸法文字の大きさを戻す";
constexpr const char* NameTurnStepLabel = "檀家名向を戻す";

constexpr const char* NoMeshText = "無し";
constexpr const char* MoveStepCaption = "移動量";

enum class TColourDialog { Frame, Fill };

// The owner-drawn sample lists of the drawing page.
enum class TSampleList { PenStyle, PenWidth, BrushStyle };

// What the attribute operations ask of the form. Without a form the defaults do nothing
// (and a colour dialog counts as cancelled).
class TAttributeView {
public:
    virtual ~TAttributeView() = default;
    // The colour dialog, opened at colour; false when it was cancelled.
    virtual bool ChooseColour(TColourDialog /*dialog*/, TColor& /*colour*/) { return false; }
    // The items the three lists show, and whether the line-style list can be used.
    virtual void ShowPenStyle(int /*item*/) {}
    virtual void SetPenStyleEnabled(bool /*enabled*/) {}
    virtual void ShowPenWidth(int /*item*/) {}
    virtual void ShowBrushStyle(int /*item*/) {}
    // The list's samples are drawn again in the current attributes.
    virtual void RepaintSamples(TSampleList /*list*/) {}
    // The mesh interval box, the snap box's item, and the move step box.
    virtual void ShowMeshInterval(const std::string& /*text*/) {}
    virtual void ShowMeshSnap(int /*item*/) {}
    virtual void ShowMoveStep(const std::string& /*text*/) {}
};

// "外枠色" and "内部色": the colour dialog, then the current colour and the selection's.
// A cancelled dialog changes nothing.
void ChangePenColor(TDrawingState& s, TAttributeView& view);
void ChangeBrushColor(TDrawingState& s, TAttributeView& view);
// An item chosen in a list. The item already current changes nothing. Widths 2 and 3
// lock the line style at solid; width 1 frees it.
void ChoosePenStyle(TDrawingState& s, TAttributeView& view, int item);
void ChoosePenWidth(TDrawingState& s, TAttributeView& view, int item);
void ChooseBrushStyle(TDrawingState& s, TAttributeView& view, int item);
// The eyedropper (the first selected figure's attributes become the current ones) and
// "適応" (the current ones go to every selected figure). False, with a beep and a hint,
// when nothing is selected.
bool TakeAttributesFromSelection(TDrawingState& s, TAttributeView& view);
bool ApplyAttributesToSelection(TDrawingState& s, TAttributeView& view);

// A different font chosen in the font list: it becomes current, then goes to the selection.
void ChooseFont(TDrawingState& s, const std::string& name);
// "フォント変更": the current font to every selected figure.
void ApplyFontToSelection(TDrawingState& s);
// Only the families a drawing file can name: a vertical ("@") face or a name outside
// the code page would come back from the file as another name.
std::vector<std::string> DrawingFontNames(const std::vector<std::string>& families);

// The editing page's up-downs at their new position.
void ChangeNameTextSize(TDrawingState& s, int position);
void ChangeDimensionTextSize(TDrawingState& s, int position);
// Turns the household names of the selected plots (and the selected texts): a position
// above the last one turns forward, any other backward. Returns the position the
// arrows are to show: at either end they go back to the middle.
int TurnNameDirection(TDrawingState& s, int position);

// The mesh interval box and the move step box, with the text typed or chosen. Only a
// positive whole number (or the box's "none" word) is taken; anything else beeps and
// the box shows the value in force again.
void ChooseMeshInterval(TDrawingState& s, TAttributeView& view, const std::string& text);
void ChooseMoveStep(TDrawingState& s, TAttributeView& view, const std::string& text);

// One item of a sample list on its rectangle: the item's pen style, width or fill in
// the current attributes at the left, its caption at the right.
void DrawAttributeSample(const TDrawingState& s, TSampleList list, TCanvas& canvas, int index, const TRect& rect,
                         bool selected, const std::string& caption);
// One item of the font list: the name written in its own face.
void DrawFontSample(TCanvas& canvas, const TRect& rect, bool selected, const std::string& name);

}  // namespace tarvek
