// The 41 view lines kept with every drawing: at the end of the drawing data file after
// "<form_data>", and alone as the display settings file, which wins when present.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "document/figure.h"
#include "platform/textfile.h"

namespace tarvek {

struct TDrawingState;

constexpr int FormDataLineCount = 41;
constexpr int HouseholdGridColumns = 9;

// The household grids' column widths of a new drawing; "地区ID" (column 7) is hidden.
inline constexpr std::array<std::int32_t, HouseholdGridColumns> NewDrawingGridWidths{55, 85, 85, 60, 90, 150, 60, 0, 280};

// The window and map-panel colours of a new drawing ($00BBGGRR).
constexpr TColor NewDrawingWindowColor = 15398391;  // $EAF5F7
constexpr TColor NewDrawingPanelColor = 14282224;   // $D9EDF0
// The system's button-face colour, the mesh colour of a new drawing.
constexpr TColor ButtonFaceColor = static_cast<TColor>(0xFF00000Fu);

// One value per line, in line order. The defaults are the view of a new drawing, which a
// drawing without a view of its own opens with too.
struct TFormData {
    std::int32_t FormTop = 100, FormLeft = 200, FormWidth = 800, FormHeight = 600;  // 1-4
    std::int32_t PaintWidth = 764, PaintHeight = 564;                               // 5-6
    std::int32_t ScrollX = 0, ScrollY = 0;                                          // 7-8
    std::int32_t Zoom = 1;                                                          // 9
    std::int32_t BlockUnitWidth = 4, BlockUnitHeight = 3, BlockGapX = 1, BlockGapY = 1,
                 BlockColumns = 10, BlockRows = 10;                                 // 10-15
    std::int32_t WindowColor = NewDrawingWindowColor;                               // 16
    std::int32_t Panel1Color = NewDrawingPanelColor;                                // 17
    std::string BackgroundPicturePath;                                              // 18
    TColor CurPenColor = 0, CurBrushColor = 7321527;                                // 19-20
    TColor MeshColor = ButtonFaceColor, CenterLineColor = 8421504;                  // 21-22
    std::array<std::int32_t, HouseholdGridColumns> GridColWidths = NewDrawingGridWidths;   // 23-31
    bool ClipCheck = true;           // 32 clip_Check
    bool RotateCheck = true;         // 33 CheckBox2
    std::int32_t NameTextSize = 10;  // 34 UpDown1 position
    std::int32_t DimensionTextSize = 500;  // 35 UpDown3 position
    bool SelectAfterDrawing = false;       // 36 ck_true
    std::string CurFontName = "ＭＳ 明朝";  // 37
    std::int32_t CurPenWidth = 1, CurPenStyle = 0, CurBrushStyle = 1;  // 38-40
    std::int32_t DrawingScale = 1000;                                  // 41

    bool operator==(const TFormData&) const = default;
};

// The lines as written, always 41.
TLines FormDataToLines(const TFormData& d);

// Reads the section starting at lines[first] (0-based) over the values already in d, in
// line order; the first line that does not convert stops and gives false. Lines 37-41
// only when version4; line 41 only when present. Lines beyond the end read as empty.
// A zoom outside 1..50 and a paint-box size below 1 are pulled into range. asRead, when
// given, receives lines 1-9 as they were read, before that.
bool ReadFormDataLines(const TLines& lines, std::size_t first, bool version4, TFormData& d,
                       std::array<std::int32_t, 9>* asRead = nullptr);

struct TScreenRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
// Keeps a restored window reachable on the virtual screen (all monitors).
void ClampWindowToScreen(std::int32_t& top, std::int32_t& left, std::int32_t width,
                         std::int32_t height, const TScreenRect& screen);

// The view as it stands now: the form's values from s.View, the editor's own settings
// (zoom, attributes, blocks, colours, scale) from the state; lines 1-9 as read at start
// when the edition keeps them.
TFormData CollectFormData(const TDrawingState& s);
// Takes a section that was read into the state: the Loaded values, the editor settings
// and s.View.
void ApplyFormData(TDrawingState& s, const TFormData& d);

// stem + "_disp.txt" of the given drawing name.
std::string DisplaySettingsFileName(const TDrawingState& s, const std::string& drawingName);

// Writes the display settings file of that drawing from the current state.
TFileResult SaveDisplaySettings(const TDrawingState& s, const std::string& drawingName);

// Reads the display settings file of CurrentDrawingName into the state. False when the
// file is unreadable or a line does not convert.
bool LoadDisplaySettings(TDrawingState& s, bool version4);

}  // namespace tarvek
