// The editor's process-wide state: one object, owned by the main form and passed by
// reference, so that tests can make as many independent editors as they need.
// Member names follow the names used throughout the design documents of the editor.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/edition.h"
#include "document/editor_view.h"
#include "document/figure.h"
#include "document/history.h"
#include "document/view_settings.h"
#include "households/household_ops_state.h"
#include "households/household_table.h"
#include "households/ledger_state.h"
#include "households/plot_search_state.h"
#include "editing/tool_state.h"
#include "tablet/tablet_state.h"
#include "platform/ui_services.h"

namespace tarvek {

constexpr const char* NewDrawingName = "新規図面";

struct TDrawingState {
    explicit TDrawingState(TUserServices& ui, TEditorView* form = nullptr);
    // Takes over the record table of an earlier state, handed over blank, instead of
    // making one: 30001 records take long to make, for programs that make editor after
    // editor (the fuzz targets).
    TDrawingState(TUserServices& ui, TEditorView* form, std::vector<TDateRec>&& blankRecords);
    TDrawingState(const TDrawingState&) = delete;
    TDrawingState& operator=(const TDrawingState&) = delete;

    TUserServices& Ui;
    // The window, when there is one; never null.
    TEditorView* Form;
    // The program running: set by the form before anything loads; never null.
    const TEdition* Edition = &ProEdition();

    // Figure store: records 1..FigureCount; record 0 is scratch.
    std::vector<TDateRec> Figures;
    std::int32_t FigureCount = 0;
    std::int32_t MaxPlotId = 0;

    // Edit history.
    std::vector<Trireki> History;
    std::int32_t HistoryCapacity = 500;
    std::int32_t HistoryGrowStep = 100;
    std::int32_t HistoryCount = 1;
    // What PushHistory hands back when the edition records no history.
    Trireki ScratchStep;

    // Selection.
    std::vector<std::int32_t> SelectedList{0};
    std::int32_t SelectedCount = 0;
    std::int32_t SelectedCursor = 0;
    std::uint8_t HasSelection = 0;
    std::int32_t CurrentHitIndex = -1;
    double HitCenterX = -999.0, HitCenterY = -999.0;

    // Pointer state that the store's capacity check must respect.
    std::uint8_t Dragging = 0;
    std::uint8_t ClickMovePending = 0;

    // The help line (Label3 on the form).
    std::string Label3;
    void SetHelpLine(const std::string& text);

    // Selection box in the order right, left, bottom, top (drawing units).
    std::array<double, 4> DrawPointBuffer{0, 9999999999.0, 0, 9999999999.0};
    std::array<std::uint8_t, 4> SelectionKindFlags{0, 0, 0, 0};

    // The request and the files of this drawing.
    std::string ExeFolder;  // with a trailing "/"
    std::string PlotKindWord;
    std::string HandoverStatus;
    std::int32_t LedgerTargetId = 0;
    std::string TempleName;
    std::uint8_t StandaloneStartFlag = 0;
    std::string CurrentDrawingName = NewDrawingName;

    // The ledger's households, in file order (the household grid shows them).
    std::vector<THouseholdRow> Households;
    // 1 while one of the household grids has the focus: the form's keys stand back.
    std::uint8_t GridFocused = 0;
    // The live exchange with the ledger, and the household operations.
    TLedgerLinkState Ledger;
    THouseholdOpsState HouseholdOps;
    // The plot search and the plot information panel.
    TPlotSearchState Search;
    // The drawing tools between mouse events.
    TToolState Tools;
    // The tablet edition's kept view lines and display scaling.
    TTabletState Tablet;

    std::uint8_t StartupError = 0;
    std::string StartupErrorMessage;
    std::uint8_t LedgerUnchanged = 1;
    std::uint8_t DrawingUnchanged = 1;

    // View.
    std::array<std::int32_t, 10> ZoomSteps{0, 1, 2, 4, 5, 8, 10, 20, 25, 50};  // steps 1..9
    std::int32_t Zoom = 10;
    std::int32_t ZoomStep = 6;
    std::int32_t PreviousZoom = 10;
    std::int32_t PreviousZoomStep = 6;
    // Pointer positions in paint-box pixels: the zoom centre, the press, the last hover.
    struct TPixel {
        std::int32_t x = 0, y = 0;
    } MousePos, MouseDownPos, HoverPos;
    std::uint8_t WheelZoomSeries = 0;
    // Set while the hover display has just shown a plot; Timer2 clears it.
    std::uint8_t HoverBusy = 0;
    // Edge scroll of a drag: 0 none, 1 right, 2 left, 3 down, 4 up; the control last under the pointer.
    std::int32_t EdgeScrollDirection = 0;
    const void* LastPointerControl = nullptr;
    bool LastPointerOverMap = false;
    std::uint8_t SkipNextMouseMove = 0;
    std::uint8_t PreviewStale = 0;
    std::int32_t SnapGuidePxX = -1;
    // Mesh and markers.
    std::uint8_t MeshVisible = 0;
    std::int32_t MeshStep = 20;
    TPixel MeshOrigin{382, 282};
    std::int32_t MarkerHalfSize = 5;
    // Nothing was selected at the last page switch: no search-hit cross on the options page.
    std::uint8_t HitCrossSuppressed = 0;
    // The tool in use (its code is the kind of what it draws; 0 selects).
    std::int32_t CurrentTool = 0;
    std::int32_t PreviousTool = 0;
    // The help line of the current tool.
    std::string HelpText = "コピーCtrl+C　切取りCtrl+X　貼り付けCtrl+V　全選択Ctrl+A　元に戻すCtrl+Z　削除[DEL]";
    // The current hit's box: left, right, top, bottom (drawing units).
    std::array<double, 4> HitBox{0, 0, 0, 0};
    std::int32_t LoadedFormTop = 100, LoadedFormLeft = 200;
    std::int32_t LoadedFormWidth = 800, LoadedFormHeight = 600;
    std::int32_t LoadedPaintWidth = 764, LoadedPaintHeight = 564;
    std::int32_t LoadedZoom = 1;
    struct TPoint {
        std::int32_t x = 0, y = 0;
    } RecordedScrollPos;
    TColor MeshColor = ButtonFaceColor;
    TColor CenterLineColor = 8421504;
    std::string BackgroundPicturePath;
    std::int32_t DimensionTextSize = 500;
    std::int32_t NameTextSize = 10;
    std::uint8_t ClipNames = 1;
    std::uint8_t RotateNames = 1;
    std::int32_t DrawingScale = 1000;
    std::int32_t ViewBaseWidth = 0, ViewBaseHeight = 0;
    struct TSize {
        std::int32_t cx = 0, cy = 0;
    } RecordedFormSize;
    std::int32_t NameTextSizeCopy = 10;
    std::int32_t PreviousTab = 0;
    std::uint8_t EditTabActive = 0;
    std::uint8_t HistoryRecording = 0;
    std::int32_t NormalPageHeight = 104;
    // What the form shows of the view (window, scroll, colours, grid, check boxes); the
    // form keeps it current, the files read and write it.
    TFormData View;
    // The drawing brought a view of its own (its view section or its display settings
    // file); without one it is shown as a new drawing is.
    std::uint8_t DrawingViewRead = 0;

    // Plot blocks.
    std::int32_t BlockUnitWidth = 4, BlockUnitHeight = 3, BlockGapX = 1, BlockGapY = 1;
    std::int32_t BlockColumns = 10, BlockRows = 10;

    // Attributes for new figures.
    TColor CurPenColor = 0;
    TColor CurBrushColor = 7321527;
    std::int32_t CurPenWidth = 1, CurPenStyle = 0, CurBrushStyle = 1;
    std::string CurFontName = "ＭＳ 明朝";

    TDateRec& Fig(std::int32_t i) { return Figures[static_cast<std::size_t>(i)]; }
    const TDateRec& Fig(std::int32_t i) const { return Figures[static_cast<std::size_t>(i)]; }
    bool ValidIndex(std::int32_t i) const { return i >= 1 && i <= FigureCount; }
};

// stem = ExeFolder + TempleName + PlotKindWord + drawing name.
std::string DrawingFileStem(const TDrawingState& s, const std::string& drawingName);

}  // namespace tarvek
