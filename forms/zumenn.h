// The main form of the full editor. Its components carry the names the rest of the
// editor refers to; its handlers read their controls, call the logic in document/,
// households/ and editing/, and show the result.
#pragma once

#include <QCursor>
#include <QImage>
#include <array>
#include <optional>
#include <string>

#include "document/drawing_state.h"
#include "document/editor_view.h"
#include "forms/zumenn_components.h"
#include "households/assignment.h"
#include "households/ledger_exchange.h"
#include "platform/vcl.h"

namespace tarvek {

class TForm_zumenn : public TForm,
                     public TEditorView,
                     public TLedgerView,
                     public THouseholdView,
                     public TPlotSearchView,
                     public TToolView,
                     public TZumennComponents {
public:
    // exeFolder: the program folder, with a trailing "/"; every exchanged file lies there.
    TForm_zumenn(const std::string& exeFolder, TUserServices& ui);
    ~TForm_zumenn() override;

    TDrawingState S;

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
    // The pixel of the map at paint-box coordinates, as the screen shows it.
    TColor MapPixel(int x, int y) const;

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
    // The part of the map whose band changed since the last paint, and the view the
    // map image was last painted for.
    QRect PendingBand;
    QPoint BandScroll{-1, -1};
    int BandZoom = 0;
    bool InMapPaint = false;

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

    // The view of the drawing as the form shows it, taken back into the state before
    // the settings are written.
    void TakeViewFromForm();
    // Applies the view values read with the drawing to the controls.
    void ApplyViewToForm();

private:
    void BuildComponents();
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

    std::uint8_t NameValidated = 1;
    bool GuardsRun = false;
};

}  // namespace tarvek
