// The main form of both editions. Its components carry the names the rest of the
// editor refers to; its handlers read their controls, call the logic in document/,
// households/, editing/ and tablet/, and show the result. The edition decides the
// layout: the tablet's creates only its own controls, so the others stay null there.
#pragma once

#include <QCursor>
#include <QImage>
#include <QMetaObject>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "document/drawing_state.h"
#include "document/editor_view.h"
#include "editing/attributes.h"
#include "editing/text_entry.h"
#include "forms/zumenn_components.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "households/plot_numbering.h"
#include "platform/vcl.h"
#include "tablet/tablet_buttons.h"
#include "view/idle.h"
#include "view/painter.h"
#include "view/zoom.h"

namespace tarvek {

class Thako;

class TForm_zumenn : public TForm,
                     public TEditorView,
                     public TLedgerView,
                     public THouseholdView,
                     public TPlotSearchView,
                     public TToolView,
                     public TTextBoxView,
                     public TIdleView,
                     public TZumennComponents {
public:
    // exeFolder: the program folder, with a trailing "/"; every exchanged file lies there.
    // The edition must outlive the form.
    TForm_zumenn(const std::string& exeFolder, TUserServices& ui, const TEdition& edition = ProEdition());
    ~TForm_zumenn() override;

    TDrawingState S;
    bool Tablet() const { return S.Edition->Kind() == TEditionKind::Tablet; }

    // The start-up guards of the first paint: a failed start, or a request that was
    // already answered. Run once, from a queued call after the window is shown.
    void RunStartupGuards();

    // TEditorView
    void HelpLineChanged(const std::string& text) override;
    void SelectionCountChanged(int count) override;
    void RepaintMap() override;
    int ActivePageIndex() const override;
    int ScrollBoxWidth() const override;
    int ScrollBoxHeight() const override;
    int PaintBoxWidth() const override;
    int PaintBoxHeight() const override;
    void SetPaintBoxSize(int width, int height) override;
    int HorzScrollPos() const override;
    int VertScrollPos() const override;
    void SetScrollPos(int x, int y) override;
    void WarpPointerToMapCentre() override;
    void FocusSink() override;

    // A wheel step over the map (delta in units of 120).
    void PaintBox1MouseWheel(TShiftState shift, int delta, int x, int y, bool& handled);

    // The visible part of the map as last painted: picking reads its pixels back.
    QImage MapImage;
    // Paints the visible part of the map into MapImage.
    void PaintMapImage();
    // What the form contributes to a paint of the map, on the screen or on paper.
    TPaintInputs MapPaintInputs() const;
    // The pixel of the map at paint-box coordinates, as the screen shows it.
    TColor MapPixel(int x, int y) const override;

    // Screen cursors 1 to 3 (loupe, pan, rotation); empty when their file did not load.
    std::array<std::optional<QCursor>, 3> ScreenCursors;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormClose();
    void BitBtn15Click();
    void file_neisyoEnter();
    void file_neisyoExit();
    void file_neisyoKeyPress(char32_t& key);
    void clip_CheckClick();
#include "forms/zumenn_handlers.inc"

    // --- plot search and plot information (zumenn_search.cpp) ---
    void BindPlotSearch();
    void ShowCurrentHit() override;
    // TPlotSearchView
    THouseholdView& FieldsView() override { return *this; }
    TLedgerView& LedgerLink() override { return *this; }
    std::array<std::string, 9> SearchCriteria() const override;
    std::string RemarksText() const override;
    void SetRemarksText(const std::string& text) override;
    std::string SearchButtonCaption() const override;
    void SetSearchButtonCaption(const std::string& caption) override;
    void SetSearchCount(int count) override;
    void FocusSearchInput() override;
    bool CoOwnerListVisible() const override;
    void ShowCoOwnerList(const std::vector<TCoOwnerRow>& rows, int currentRow) override;
    void HideCoOwnerList() override;
    void SetCoOwnerRow(int row) override;

    // --- drawing tools (zumenn_drawing.cpp) ---
    void BindDrawingTools();
    // Ctrl+Z and the right button's undo (zumenn_undo.cpp).
    void UndoLastStep();
    // The owner-drawn attribute and font lists (zumenn_attributes.cpp).
    void BindAttributes();
    void BindFontList();
    // TToolView: the rubber bands are drawn in not-xor on MapImage and shown without
    // painting the map again.
    TCanvas* PreviewCanvas() override;
    void PreviewChanged(int left, int top, int right, int bottom) override;
    void SetPaintCursor(TToolCursor cursor) override;
    void NudgePointer() override;
    void MovePointerBy(int dx, int dy) override;
    bool SelectAfterDrawing() const override;
    bool TextBoxVisible() const override;
    void HideTextBox() override;
    void ShowCoordinates(const std::string& text) override;
    std::shared_ptr<TCanvas> ToolCanvas;

    // --- clipboard, rotation, alignment, order and groups (zumenn_arrange.cpp) ---
    void BindArrange();
    bool MirrorCopy() const override;
    std::string DrawingNameText() const override;

    // --- selection and handles (zumenn_selection.cpp) ---
    int SelectionFilter() const override;
    void SetBlinkTimer(bool running, int intervalMs) override;
    // The part of the map whose band changed since the last paint, and the view the
    // map image was last painted for.
    QRect PendingBand;
    QPoint BandScroll{-1, -1};
    int BandZoom = 0;
    bool InMapPaint = false;

    // --- plots: reset, sets, numbers, grades, conversion (zumenn_plots.cpp) ---
    void MarkUntilRepaint(const std::vector<TMapMark>& marks) override;
    // Shapes to draw over the next paint of the map, dropped after it.
    std::vector<TMapMark> PendingMarks;
    void PaintPendingMarks();
    void NumberPlots(TNumberingOrder order);
    // --- plot blocks and the niche-count dialog (zumenn_blocks.cpp) ---
    // The dialog, made by the program entry after this form and handed over; the form
    // closes it when it closes and destroys it first.
    void AdoptBlockDialog(std::unique_ptr<Thako> dialog);
    Thako* BlockDialog() const { return Hako.get(); }

    // --- text entry (zumenn_text.cpp) ---
    void Memo1KeyPress(char32_t& key);
    // TTextBoxView
    void OpenTextBox(int left, int top, int width, int height, int fontSize) override;
    std::string TextBoxText() const override;
    void SetTextBoxText(const std::string& text) override;
    void SetTextBoxWidth(int width) override;
    void SetTextBoxColor(TColor color) override;
    std::string TextBoxFontName() const override;
    bool TextBoxComposing() const override;
    int MapLeft() const override;
    int MapTop() const override;

    // --- the idle pass (zumenn_idle.cpp) ---
    // Runs whenever the GUI thread's queue has emptied, modal loops included; installed
    // only after a clean start.
    void ApplicationIdle();
    bool IdleHandlerInstalled() const { return static_cast<bool>(IdleConnection); }
    // Where the pointer is, for the edge scroll of a drag.
    TPointerPlace PointerPlace() const;
    // TIdleView
    int FormWidth() const override { return WindowWidth(); }
    int FormHeight() const override { return WindowHeight(); }
    bool FrameChanged() override;
    THouseholdView& HoverFields() override { return *this; }
    void StartHoverTimer() override;

    // --- colours and options of the last page (zumenn_options.cpp) ---
    // The read-only memos that serve as captions: they take the form's colour.
    std::vector<TMemo*> CaptionMemos() const;
    // The attribute lists draw their samples again in the current attributes.
    void RepaintAttributeSamples(TSampleList list);

    // --- hand-over file ---

    // --- households and the ledger link (zumenn_households.cpp) ---
    // TLedgerView
    bool RealTimeReflection() const override;
    void SetRealTimeReflection(bool checked) override;
    bool QuestionOpen() const override;
    void SetActivePage(int page) override;
    void SelectToolForSearch() override;
    int MeshStepIndex() const override;
    int MeshClipIndex() const override;
    bool RotateNamesChecked() const override;
    bool ClipNamesChecked() const override;
    void SelectionChanged() override;
    void ShowHouseholdAlone(int row) override;
    // THouseholdView
    THouseholdGrid VisibleHouseholdGrid() const override;
    int CurrentHouseholdRow() const override;
    void SetCurrentHouseholdRow(int row) override;
    THouseholdRow QueryRow() const override;
    void ShowResultGrid(const std::vector<THouseholdRow>& rows) override;
    void LeaveHouseholdSearchMode() override;
    void ShowHouseholdFields(const std::array<std::string, 9>& fields) override;
    void BindHouseholds();
    // The result grid with these rows, the table and the query hidden; the focus stays.
    void ShowResultRows(const std::vector<THouseholdRow>& rows);

    // --- the tablet edition (zumenn_tablet_layout.cpp, zumenn_tablet.cpp) ---
    void ShowHouseholdButton(bool shown) override;
    void TabletFormShow();
    void PanMapClick(TPanDirection direction);
    void BringLedgerToFrontClick();
    void CloseFormClick();
    void TabletPageControl1MouseDown();
    // Its selection and household operations (zumenn_tablet_selection.cpp): the
    // household button, "檀家リセット", a tap on the co-owner list, and the summary.
    void SetRequestedHouseholdClick();
    void ResetHouseholdsClick();
    void TabletStringGrid4MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void ShowTabletSelectionSummary();
    // The co-owner list of TPlotSearchView on the tablet's StringGrid4.
    void ShowTabletCoOwnerList(const std::vector<TCoOwnerRow>& rows, int currentRow);
    void BindTabletSelection();

    // The view of the drawing as the form shows it, taken back into the state before
    // the settings are written.
    void TakeViewFromForm();
    // Applies the view values read with the drawing to the controls.
    void ApplyViewToForm();

private:
    void BuildComponents();
    void BuildTabletComponents();
    void LayOutTabletComponents();
    void BindTabletComponentEvents();
    void TabletCleanStartSetup();
    void PlaceTabletWindow();
    void LoadDrawing();
    void LoadHouseholdStage();
    void CleanStartSetup();
    void ShowRequestTarget();
    // Saves the drawing data file and then the hand-over file; says which were written.
    struct TSaved {
        bool Drawing = false;
        bool Handover = false;
    };
    TSaved SaveDrawingAndHandover();
    void ShowFileError(const std::string& path, const TFileResult& result);
    void ShowDeleteError(const std::string& path, const TFileResult& result);
    // Removes a file that must go; a failure is shown.
    void RemoveFile(const std::string& path);
    void RestoreNameViewOptions();

    void InstallIdleHandler();

    std::uint8_t NameValidated = 1;
    bool GuardsRun = false;
    std::unique_ptr<Thako> Hako;
    QMetaObject::Connection IdleConnection;
    bool IdleRunning = false;
    QSize LastFrameExtra{-1, -1};
};

}  // namespace tarvek
