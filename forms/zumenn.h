// The main form of the full editor. Its components carry the names the rest of the
// editor refers to; its handlers read their controls, call the logic in document/,
// households/ and editing/, and show the result.
#pragma once

#include <QCursor>
#include <array>
#include <optional>
#include <string>

#include "document/drawing_state.h"
#include "document/editor_view.h"
#include "platform/vcl.h"

namespace tarvek {

class TForm_zumenn : public TForm, public TEditorView {
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

    // Components.
    TPageControl* PageControl1 = nullptr;
    std::array<TTabSheet*, 6> Tabs{};
    TMemo* Memo4 = nullptr;
    TEdit* Edit1 = nullptr;
    TPanel* Panel1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TImage* Image1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TLabel* Label3 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TProgressBar* SaveProgressBar = nullptr;
    TTimer* Timer1 = nullptr;

    // Search page.
    TMemo* Memo22 = nullptr;
    TEdit* Edit_bikou = nullptr;
    TMemo* Memo7 = nullptr;
    TMemo* Memo9 = nullptr;
    TMemo* neisyo = nullptr;
    TEdit* file_neisyo = nullptr;
    TBitBtn* BitBtn15 = nullptr;
    // Household page.
    TStringGrid* StringGrid1 = nullptr;
    TStringGrid* StringGrid2 = nullptr;
    TStringGrid* StringGrid3 = nullptr;
    // Numbering page.
    TMemo* Memo12 = nullptr;
    // Drawing page.
    TBitBtn* BitBtn6 = nullptr;
    TBitBtn* BitBtn45 = nullptr;
    TBitBtn* BitBtn46 = nullptr;
    TBitBtn* BitBtn8 = nullptr;
    TRadioGroup* liya = nullptr;
    TComboBox* pen_sty_conb = nullptr;
    TComboBox* pen_width_conb = nullptr;
    TComboBox* brs_sty_conb = nullptr;
    TMemo* Memo2 = nullptr;
    // Editing page.
    TBitBtn* BitBtn44 = nullptr;
    TBitBtn* BitBtn14 = nullptr;
    TBitBtn* botika_true = nullptr;
    TBitBtn* botika_false = nullptr;
    TUpDown* UpDown1 = nullptr;
    TUpDown* UpDown2 = nullptr;
    TUpDown* UpDown3 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    TCheckBox* clip_Check = nullptr;
    TComboBox* ComboBox2 = nullptr;
    // Options and printing page.
    TCheckBox* ck_true = nullptr;
    TMemo* taiou = nullptr;
    TCheckBox* R_time = nullptr;
    // Co-owners of a shared plot and search hits.
    TStringGrid* StringGrid4 = nullptr;

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
    void RestoreNameViewOptions();

    std::uint8_t NameValidated = 1;
    bool GuardsRun = false;
};

}  // namespace tarvek
