// One figure of the drawing and the kinds it can have.
#pragma once

#include <cstdint>
#include <string>

#include "platform/graphics.h"  // TColor, TPenStyle, TBrushStyle

namespace tarvek {

// Kinds share their numbers with the tool codes: a figure drawn with a tool gets the
// tool's code as its kind.
enum TFigureKind : std::int32_t {
    fkLine = 1,
    fkCurve = 2,
    fkEllipse = 3,
    fkDimension = 4,
    fkChainLine = 5,
    fkChainCurve = 6,
    fkPolySegment = 7,
    fkRoundPiece = 9,
    fkLeader = 10,
    fkOldPlot = 11,
    fkText = 22,
    fkGroup = 30,
    fkPolygon = 31,
    fkClosedCurve = 32,
    fkOpenCurve = 33,
    fkPolygonEdge = 77,
    fkRoundPolygonPiece = 99,
    fkOldCurveBox = 2000,  // what an unversioned kind 2 turns into; nothing draws it
    fkRectangle = 3000,
    fkPlot = 11000,
};

constexpr std::int32_t MaxFigures = 30000;

// The fields every paint and pick of the map reads of every record come first, so that
// a pass over 30000 records touches one cache line of each.
struct TDateRec {
    std::int32_t Kind = 0;
    std::uint8_t Selected = 0;
    std::uint8_t Deleted = 0;
    std::uint8_t SetAside = 0;
    std::uint8_t IsPlot = 0;
    std::int32_t OwnerIndex = 0;
    std::int32_t ShareSetId = 0;
    double BoxX1 = 0, BoxY1 = 0, BoxX2 = 0, BoxY2 = 0;
    TColor PenColor = 0;
    TColor BrushColor = 0;
    std::int32_t PenWidth = 0;
    std::int32_t PenStyle = 0;
    std::int32_t BrushStyle = 0;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
    std::string Text;  // plots: household ID ("0" = none); texts: the text
    double Aux1 = 0, Aux2 = 0, Aux3 = 0, Aux4 = 0;
    std::int32_t PlotId = 0;
    std::int32_t SourceIndex = 0;
    std::int32_t DistrictId = 0;
    std::string DrawingName;
    std::string PlotNumber;
    std::string HouseName;
    std::string HeadName;
    std::string Phone;
    std::string DistrictName;
    std::string Address1;
    std::string Address2;
    std::string PlotRemarks;
    std::string Grade;
    std::string FontName;
};

// Parents whose index their members keep in OwnerIndex.
inline bool IsOwnerKind(std::int32_t kind) { return kind >= fkGroup && kind <= fkOpenCurve; }
// A polygon or curve whose pieces are its members: plot data goes to the pieces too.
inline bool IsCompoundParent(const TDateRec& r) { return r.Kind >= fkPolygon && r.Kind <= fkOpenCurve; }

// Plots of current files carry IsPlot; unversioned files had their own plot kind.
inline bool IsPlotRecord(const TDateRec& r) { return r.Kind == fkOldPlot || r.IsPlot != 0; }
// A plot that a new plot of its own is made of when it is copied, and that is no figure to
// make a plot of: an old drawing's kind 11 kept its ledger key, an old part's has none
// and is a figure like any other.
inline bool IsKeyedPlot(const TDateRec& r) { return r.IsPlot != 0 || (r.Kind == fkOldPlot && r.PlotId != 0); }

// Stored index -> style. An index outside the table (a damaged or foreign file) falls
// back to solid pen / clear brush rather than reading past the table.
TPenStyle PenStyleFromIndex(std::int32_t index);
TBrushStyle BrushStyleFromIndex(std::int32_t index);

}  // namespace tarvek
