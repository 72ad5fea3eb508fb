// What the tablet edition's form does in place of the full editor's: its start-up
// setup, the maximised and display-scaled first view, the answer to the request it was
// started with, the pan, close and ledger buttons, and its page switch.
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "document/figure_store.h"
#include "document/selection.h"
#include "editing/attributes.h"
#include "editing/drawing_tools.h"
#include "forms/zumenn.h"
#include "households/ledger_exchange.h"
#include "households/ledger_poll.h"
#include "households/plot_info.h"
#include "platform/numbers.h"
#include "platform/qt_services.h"
#include "tablet/display_scale.h"
#include "tablet/tablet_pages.h"
#include "tablet/tablet_window.h"
#include "view/zoom.h"

namespace tarvek {

namespace {

// The tablet's paint box at zoom 1 leaves less margin in its scroll box than the full
// editor's (36).
constexpr int TabletViewMargin = 16;

}  // namespace

void TForm_zumenn::TabletCleanStartSetup() {
    const std::string& w = S.PlotKindWord;
    Memo22->SetText(w + "備考");
    const char* const cursorFiles[] = {"イメージ/rrrp1.cur", "イメージ/rrrp2.cur", "イメージ/kaitenn.cur"};
    for (std::size_t i = 0; i < 3; ++i) ScreenCursors[i] = LoadCursorFromFile(S.ExeFolder + cursorFiles[i]);
    // Not kept on top: the ledger's windows must be able to come in front of it.
    InstallIdleHandler();
    Timer1->SetEnabled(true);
    liya->SetItems({"全て", w + "のみ", w + "以外"});
    liya->SetItemIndex(0);
    ComboBox2->SetItems(DrawingFontNames(ScreenFontNames()));
    ComboBox2->SetItemIndex(ComboBox2->IndexOf(S.CurFontName));
}

void TForm_zumenn::PlaceTabletWindow() {
    // A window manager maximises late, if one runs at all: the window also takes the
    // maximised place itself, so that the map and its scaling are fixed from now on.
    Widget()->setWindowState(Widget()->windowState() | Qt::WindowMaximized);
    const QScreen* screen = Widget()->screen() ? Widget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect full = screen->geometry(), available = screen->availableGeometry();
    const TScreenRect place =
        TabletWindowBounds({full.left(), full.top(), full.width(), full.height()},
                           {available.left(), available.top(), available.width(), available.height()},
                           StatusBar1->Height());
    SetWindowBounds(place.Left, place.Top, place.Width, place.Height);
}

void TForm_zumenn::TabletFormShow() {
    if (S.StartupError == 1) {
        QTimer::singleShot(0, Widget(), [this] { RunStartupGuards(); });
        return;
    }
    PlaceTabletWindow();
    PaintBox1->SetBounds(0, 0, ScrollBox1->Width() - TabletViewMargin, ScrollBox1->Height() - TabletViewMargin);
    S.ViewBaseWidth = PaintBox1->Width();
    S.ViewBaseHeight = PaintBox1->Height();
    if (S.CurrentDrawingName != NewDrawingName) {
        // The full editor's view as it left it, and the zoom step as it starts.
        PaintBox1->SetBounds(0, 0, S.LoadedPaintWidth, S.LoadedPaintHeight);
        ScrollBox1->SetHorzScrollPos(S.RecordedScrollPos.x);
        ScrollBox1->SetVertScrollPos(S.RecordedScrollPos.y);
        S.Zoom = S.LoadedZoom;
    } else {
        S.Zoom = 1;
        S.FigureCount = 0;
        S.CurPenColor = 0;
        S.CurBrushColor = 7321527;
        S.CurPenWidth = 1;
        S.DrawingScale = 1000;
        S.LedgerTargetId = 0;
        KeepNewDrawingView(S);
    }
    ApplyDisplayScale(S);

    PageControl1->SetActivePageIndex(0);
    S.PreviousTab = 0;
    S.EditTabActive = 0;
    ShowRequestTarget();
    Button1Click();

    S.RecordedScrollPos = {ScrollBox1->HorzScrollPos(), ScrollBox1->VertScrollPos()};
    S.NameTextSizeCopy = UpDown1->Position();
    S.LedgerUnchanged = 1;
    S.DrawingUnchanged = 1;
    QTimer::singleShot(0, Widget(), [this] { RunStartupGuards(); });
}

void TForm_zumenn::ShowHouseholdButton(bool shown) {
    if (!Tablet()) return;  // the full editor's BitBtn3 is a drawing tool
    if (shown) BitBtn3->SetCaption(StringGrid2->Cells(2, 1) + "にセット");
    BitBtn3->SetVisible(shown);
}

// ---------------------------------------------------------------------------------
// The buttons below the map

void TForm_zumenn::PanMapClick(TPanDirection direction) { PanMap(S, direction); }

void TForm_zumenn::BringLedgerToFrontClick() { BringLedgerToFront(S.Ui); }

void TForm_zumenn::CloseFormClick() { Close(); }

// ---------------------------------------------------------------------------------
// The page switch, the household-name size and the font, recording nothing

void TForm_zumenn::TabletPageControl1MouseDown() {
    const int page = PageControl1->ActivePageIndex();
    if (page == S.PreviousTab) return;
    S.Dragging = 0;
    if (page != 1) PageControl1->SetHeight(S.NormalPageHeight);
    ResetPointMarkers(S, true);
    if (page == 3) {
        S.CurrentTool = S.PreviousTool;
        UpdatePaintCursor(S);
        S.Tools.MeshSnap = ComboBox5->ItemIndex() == 0 ? 1 : 0;
        S.MeshVisible = ComboBox1->Text() != "無し" ? 1 : 0;
        S.EditTabActive = 1;
    } else {
        S.PreviousTool = S.CurrentTool;
        S.CurrentTool = 0;
        SelectToolForSearch();
        S.MeshVisible = 0;
        S.EditTabActive = page == 4 ? 1 : 0;
    }

    FilterTabletSelectionForPage(S, page, liya->ItemIndex());
    if (page == 3 || page == 4) {
        SelectGroupMembers(S, 1);
        RebuildSelectionList(S, false);
    } else {
        RebuildSortedSelectionList(S, *this);
    }
    S.HitCrossSuppressed = S.SelectedCount == 0 ? 1 : 0;
    if (page == 0)
        SummariseSelection(S, *this);
    else
        StringGrid4->SetVisible(false);
    ClassifySelectionKinds(S);
    S.PreviousTab = page;
    SendSelectionToLedger(S, *this);
    S.Search.EditingField = 0;
    PaintBox1->Invalidate();
}

}  // namespace tarvek
