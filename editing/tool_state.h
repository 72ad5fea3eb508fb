// What the drawing tools keep between mouse events, what they ask of the window, and the
// operations of other editing modules they call (empty until those modules bind them).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/figure.h"  // TColor

namespace tarvek {

class TCanvas;

// Modifier bits of the mouse and key events; the values of the component layer's
// TShiftState, so the form passes its shift state unchanged.
constexpr unsigned ToolShiftKey = 1u << 0;
constexpr unsigned ToolCtrlKey = 1u << 2;

enum class TToolButton { Left, Right, Middle };

enum class TToolCursor { Default, Cross, IBeam, None, HandPoint, SizeNWSE, SizeNESW, SizeAll, Loupe, Rotate };

// The window around the tools. Without a form (tests, tools) the defaults do nothing.
class TToolView {
public:
    virtual ~TToolView() = default;
    // The canvas of the map as shown, in paint-box pixels, for the not-xor rubber bands;
    // nullptr while there is none.
    virtual TCanvas* PreviewCanvas() { return nullptr; }
    // The rubber band changed within this rectangle (paint-box pixels, right/bottom
    // exclusive): show it without painting the map again.
    virtual void PreviewChanged(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) {}
    virtual void SetPaintCursor(TToolCursor /*cursor*/) {}
    // Moves the pointer a pixel and back, so that a new cursor shows at once.
    virtual void NudgePointer() {}
    virtual void MovePointerBy(int /*dx*/, int /*dy*/) {}
    // The check box "作図直後、選択状態".
    virtual bool SelectAfterDrawing() const { return false; }
    // The text tool's entry box.
    virtual bool TextBoxVisible() const { return false; }
    virtual void HideTextBox() {}
    // The coordinate line of the drawing page.
    virtual void ShowCoordinates(const std::string& /*text*/) {}
    // The map's pixel at paint-box coordinates as the screen shows it ($00BBGGRR; -1
    // where nothing is shown): picking compares what was painted.
    virtual TColor MapPixel(int /*x*/, int /*y*/) const { return -1; }
    // The selection filter of the drawing page: 0 every figure, 1 plots only, 2 no plots.
    virtual int SelectionFilter() const { return 0; }
    // The check box "反転コピー": Ctrl+V mirrors the copies.
    virtual bool MirrorCopy() const { return false; }
    // The drawing name as its edit box shows it, for pasted plots; empty: the drawing's own.
    virtual std::string DrawingNameText() const { return {}; }
    // The blinking frame's timer follows the tools' state.
    virtual void SetBlinkTimer(bool /*running*/, int /*intervalMs*/) {}
};

// Operations the mouse and key dispatch reaches in other editing modules. Each one is
// optional: an empty function is skipped (a picking call then picks nothing).
struct TToolOperations {
    // Picking; SelectAtPoint returns the index of the figure whose mark it toggled, or -1.
    std::function<int(unsigned shift)> SelectAtPoint;
    std::function<void(unsigned shift)> SelectInRectangle;
    std::function<void()> SelectAllFigures;
    // Snap guides at a pixel: fill SnapGuidePxX/SnapGuidePxY and SnapGuidePos (-1 = none).
    std::function<void(int x, int y)> FindSnapGuides;
    // The figure point or frame corner under the pointer (paint-box pixels): refreshes
    // SnapHit, SnapGuidePxX/SnapGuidePxY, SnapGuidePos, HandleFigure and HandleHit.
    // Empty: nothing is ever under the pointer.
    std::function<void(int x, int y)> FindHandleUnderCursor;
    // Point markers: drawing them twice erases them.
    std::function<void(TCanvas& canvas)> DrawPointMarkers;
    std::function<void()> HitTestPointMarkers;
    // Handle drags and moves (tool 103): the preview of the band from (fromX, fromY) to
    // (toX, toY) with the handle it was drawn for.
    std::function<void(TCanvas& canvas, int fromX, int fromY, int toX, int toY, std::int32_t handle)> DrawDragPreview;
    std::function<void(unsigned shift, int x, int y)> CommitMoveOrTransform;
    // Rotation (tool 1000).
    std::function<void(TCanvas& canvas, double angle)> DrawRotationPreview;
    std::function<void(unsigned shift)> CommitRotation;
    // Keyboard nudge, clipboard, delete, undo.
    std::function<void(unsigned short key)> NudgeSelection;
    std::function<void()> CopyOrCutSelection;
    std::function<void()> PasteCopiedFigures;
    std::function<void()> PasteCutFigures;
    std::function<void()> DeleteSelectedFigures;
    std::function<void()> UndoLast;
    // Text entry (tool 22).
    std::function<void()> PlaceTextMemo;
    // Tool 11000: appends PlacingColumns x PlacingRows plots, the first one's top-left
    // corner at the snapped pixel (its drawing position in ScratchEnd). Room for all of
    // them is made first; the commit records the step.
    std::function<void(int x, int y)> PlaceBlock;
    // Greys out the drawing page's tools and the tabs while a figure is drawn.
    std::function<void(bool enabled)> SetDrawTabEnabled;
};

struct TToolState {
    TToolView* View = nullptr;  // nullptr: a view that does nothing
    TToolOperations Ops;

    struct TPixel {
        std::int32_t x = 0, y = 0;
        friend bool operator==(const TPixel&, const TPixel&) = default;
    };
    struct TPointD {
        double x = -1.0, y = -1.0;
        friend bool operator==(const TPointD&, const TPointD&) = default;
    };

    // The press position before snapping, for the 5-pixel click tolerance.
    TPixel RawMouseDownPos;
    std::uint8_t PanMode = 0;
    // Space is down: a held key repeats its press, which must not count again.
    std::uint8_t SpaceHeld = 0;
    std::uint8_t UndoJustRan = 0;
    std::uint8_t UndoRunning = 0;
    std::uint8_t CutMode = 0;
    std::uint8_t MeshSnap = 1;
    // First record of the polygon chain being drawn; beyond every record while none is.
    std::int32_t ChainStart = 31000;
    // Which way a new curve bends: 1 or 2.
    std::int32_t BezierHandle = 1;
    // The last corner clicked in a rounded polygon (drawing units).
    TPointD LastCorner;
    std::uint8_t NudgeActive = 0;
    // The move step takes any positive 32-bit number, so a few presses add up past 32 bits.
    struct {
        std::int64_t dx = 0, dy = 0;
    } NudgeTotal;
    // The Ctrl+arrow step in pixels, whatever the zoom (half the mesh spacing at start).
    std::int32_t MoveStep = 10;
    // The text tool's size in points at zoom 1; follows the drawing range.
    std::int32_t TextSize = 8;
    // Where the name-direction arrows stood after their last click: the next click's
    // direction is read against it.
    std::int32_t LastNameTurnPosition = 5;

    // Handles and snap points under the pointer (found by the idle tracking).
    std::int32_t HandleHit = -1;
    std::int32_t HandleFigure = -1;
    std::int32_t SnapGuidePxY = -1;  // x is the state's SnapGuidePxX
    TPointD SnapGuidePos;
    // 1 while SnapGuidePx holds a point.
    std::uint8_t SnapHit = 0;
    // The blinking selection frame: the phase (own points of curves and circles are
    // handles while it is 1), whether the timer runs, and its interval.
    std::uint8_t BlinkPhase = 1;
    std::uint8_t BlinkRunning = 0;
    std::int32_t BlinkInterval = 10;
    // Point markers: 0 the start of the figure being drawn, 1 and 2 the last snap points
    // (2 also the end of the last move); x -1 is unset.
    std::array<TPointD, 3> PointMarkers{};
    std::uint8_t MarkersShown = 0;
    // The pointer was not on a crossing of the markers at the last test.
    std::uint8_t PointerOffMarkers = 0;
    // Each marker's vertical and horizontal line colour.
    struct TMarkerColours {
        TColor Vertical = 0x808080, Horizontal = 0x808080;
    };
    std::array<TMarkerColours, 3> MarkerColours{};
    // The selection filter before its last change.
    std::int32_t PreviousSelectionFilter = 0;
    // The red circle on the snap point under the pointer, as drawn (not-xor, on the map).
    std::uint8_t SnapCircleShown = 0;
    TPixel SnapCirclePos;
    std::int32_t SnapCircleZoom = 0;

    // Ctrl+V lays copies out to the right (0) or downwards (1).
    std::uint8_t PasteDirection = 0;
    // The paste buffer: the records Ctrl+V pastes, in order, and their number (0: nothing
    // to paste). PasteBufferCut: it holds cut figures, which a paste brings back; CutMode
    // follows it after every Ctrl+C and Ctrl+X, also one that buffers nothing.
    std::vector<std::int32_t> PasteBuffer;
    std::int32_t ClipboardMode = 0;
    std::uint8_t PasteBufferCut = 0;

    // The text tool's box: where the text goes (drawing units) and the zoom and font
    // size it was opened with, so that a zoom while typing moves and resizes nothing.
    struct TTextEntry {
        double X = 0, Y = 0;
        std::int32_t Zoom = 1;
        std::int32_t FontSize = 8;  // points
    } TextEntry;
    // The last key in the box was Backspace or Delete.
    std::uint8_t TextEraseKey = 0;

    // The block being placed (columns x rows).
    std::int32_t PlacingColumns = 1, PlacingRows = 1;

    // Rotation in progress (drawing units, radians).
    TPointD RotationCentre, RotationPoint;
    double RotationAngle = 0, PreviewAngle = 0;
    void ForgetRotation() {
        RotationAngle = PreviewAngle = 0;
        RotationCentre = RotationPoint = {};
    }

    // The rubber band on screen, as drawn, so that drawing it again erases exactly it.
    struct TShownPreview {
        bool Shown = false;
        std::int32_t Tool = 0;
        TPixel From, To, Corner;
        std::int32_t Handle = 1;
        std::int32_t Zoom = 0, PenWidth = 1, PenStyle = 0;
        std::int32_t Columns = 1, Rows = 1;
        double Angle = 0;
    } Preview;
};

}  // namespace tarvek
