// Blocks of plots: the placement of tool 11000 ("複厨子", "単厨子"), and the logic of the
// niche-count dialog that sets the block's plot size, gaps, columns and rows.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tarvek {

struct TDrawingState;
class TCanvas;
class TLedgerView;

// The dialog's six settings, in the order of its combo boxes 1 to 6: plot width, plot
// height, horizontal gap, vertical gap, columns, rows (user units).
using TBlockSettingTexts = std::array<std::string, 6>;

// The items each combo box offers: "1" to "20" for sizes and gaps, "1" to "50" for counts.
std::vector<std::string> BlockSettingItems(int index);
// What the combo boxes show for the current settings.
TBlockSettingTexts BlockSettingTexts(const TDrawingState& s);
// Takes all six texts: a whole number, at least 1 for sizes and counts and at least 0
// for gaps, sets its setting; any other text (a half-typed one too) keeps it.
void ReadBlockSettings(TDrawingState& s, const TBlockSettingTexts& texts);

// The dialog's sample: nine plots with the marks the size and gap boxes stand next to.
void DrawBlockSample(TCanvas& c);
// Where the size and gap boxes stand (left, top on the dialog's panel), boxes 1 to 4.
struct TSampleBoxPlace {
    int Left, Top;
};
inline constexpr std::array<TSampleBoxPlace, 4> SampleBoxPlaces{{{45, 15}, {6, 56}, {87, 15}, {6, 108}}};

// Appends PlacingColumns x PlacingRows plots, row by row, each with a new plot id, and
// tells the ledger of them in one "追加" list. The block's top-left corner is the snapped
// press: its drawing position in ScratchEnd on each axis where that is above 0, else
// pixel (x, y) x 1000 / Zoom; plot (r, c) lies whole steps of (size + gap) x 1000 from
// it. The caller (the commit) has made room for all of them and records the step.
void PlaceBlock(TDrawingState& s, TLedgerView& ledger, int x, int y);

}  // namespace tarvek
