// The components of the full editor's main form, under the names the rest of the editor
// uses. The form creates and owns them (forms/zumenn_layout.cpp); these are plain
// pointers to them.
#pragma once

#include <array>

#include "platform/vcl.h"
#include "platform/vcl_dialogs.h"

namespace tarvek {

struct TZumennComponents {
    // The tabs along the top, the map below them, the help line and the status bar.
    TPageControl* PageControl1 = nullptr;
    std::array<TTabSheet*, 6> Tabs{};
    TMemo* Memo4 = nullptr;  // fills the strip right of the tab captions
    TEdit* Edit1 = nullptr;  // takes the focus so that the form's key handlers get the keys
    TPanel* Panel1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TImage* Image1 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TMemo* Memo1 = nullptr;  // the text entry box of the text tool
    TLabel* Label3 = nullptr;
    TLabel* Label2 = nullptr;
    TMemo* Memo20 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox5 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TProgressBar* SaveProgressBar = nullptr;
    TStringGrid* StringGrid4 = nullptr;  // co-owners of a shared plot and search hits

    // Search page.
    TMemo* Memo6 = nullptr;
    TEdit* Edit_no = nullptr;
    TMemo* Memo8 = nullptr;
    TEdit* Edit_name = nullptr;
    TMemo* Memo10 = nullptr;
    TEdit* Edit_genn = nullptr;
    TMemo* Memo11 = nullptr;
    TEdit* Edit_tiku = nullptr;
    TMemo* Memo13 = nullptr;
    TEdit* Edit_tel = nullptr;
    TMemo* Memo14 = nullptr;
    TEdit* Edit_j1 = nullptr;
    TMemo* Memo15 = nullptr;
    TEdit* Edit_j2 = nullptr;
    TMemo* Memo22 = nullptr;
    TEdit* Edit_bikou = nullptr;
    TMemo* Memo16 = nullptr;
    TEdit* tou_name = nullptr;
    TBitBtn* BitBtn35 = nullptr;
    TBitBtn* BitBtn36 = nullptr;
    TBitBtn* BitBtn37 = nullptr;
    TMemo* Memo7 = nullptr;
    TMemo* Memo9 = nullptr;
    TMemo* neisyo = nullptr;
    TEdit* file_neisyo = nullptr;
    TBitBtn* BitBtn15 = nullptr;

    // Household page.
    TBitBtn* BitBtn28 = nullptr;
    TBitBtn* BitBtn29 = nullptr;
    TBitBtn* BitBtn30 = nullptr;
    TStringGrid* StringGrid1 = nullptr;
    TStringGrid* StringGrid2 = nullptr;
    TStringGrid* StringGrid3 = nullptr;
    TBitBtn* BitBtn31 = nullptr;
    TBitBtn* BitBtn43 = nullptr;

    // Numbering page.
    TMemo* Memo25 = nullptr;
    TEdit* Edit3 = nullptr;
    TMemo* Memo26 = nullptr;
    TEdit* Edit5 = nullptr;
    TMemo* Memo28 = nullptr;
    TEdit* Edit6 = nullptr;
    TMemo* Memo29 = nullptr;
    TBitBtn* BitBtn19 = nullptr;
    TBitBtn* BitBtn21 = nullptr;
    TBitBtn* BitBtn22 = nullptr;
    TBitBtn* BitBtn23 = nullptr;
    TBitBtn* BitBtn18 = nullptr;
    TBitBtn* BitBtn24 = nullptr;
    TBitBtn* BitBtn25 = nullptr;
    TBitBtn* BitBtn26 = nullptr;
    TMemo* Memo17 = nullptr;
    TMemo* Memo12 = nullptr;
    TMemo* Memo27 = nullptr;
    TComboBox* ComboBox4 = nullptr;
    TBitBtn* tokyuu = nullptr;

    // Drawing page.
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* BitBtn54 = nullptr;
    TBitBtn* BitBtn7 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TBitBtn* BitBtn33 = nullptr;
    TBitBtn* BitBtn47 = nullptr;
    TBitBtn* BitBtn48 = nullptr;
    TBitBtn* BitBtn51 = nullptr;
    TBitBtn* BitBtn52 = nullptr;
    TBitBtn* BitBtn53 = nullptr;
    TBitBtn* BitBtn4 = nullptr;
    TBitBtn* BitBtn5 = nullptr;
    TBitBtn* BitBtn6 = nullptr;
    TBitBtn* BitBtn45 = nullptr;
    TBitBtn* BitBtn46 = nullptr;
    TBitBtn* BitBtn8 = nullptr;
    TBitBtn* BitBtn49 = nullptr;
    TBitBtn* BitBtn50 = nullptr;
    TRadioGroup* liya = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TComboBox* pen_sty_conb = nullptr;
    TComboBox* pen_width_conb = nullptr;
    TComboBox* brs_sty_conb = nullptr;
    TBitBtn* BitBtn57 = nullptr;
    TBitBtn* BitBtn56 = nullptr;
    TBitBtn* BitBtn38 = nullptr;
    TBitBtn* BitBtn55 = nullptr;
    TMemo* Memo18 = nullptr;
    TMemo* Memo2 = nullptr;

    // Editing page.
    TBitBtn* gp_set = nullptr;
    TBitBtn* gp_reset = nullptr;
    TBitBtn* BitBtn44 = nullptr;
    TBitBtn* BitBtn14 = nullptr;
    TBitBtn* botika_true = nullptr;
    TBitBtn* botika_false = nullptr;
    TMemo* Memo21 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TMemo* Memo23 = nullptr;
    TUpDown* UpDown2 = nullptr;
    TMemo* Memo24 = nullptr;
    TUpDown* UpDown3 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    TCheckBox* clip_Check = nullptr;
    TComboBox* ComboBox2 = nullptr;
    TBitBtn* BitBtn9 = nullptr;
    TGroupBox* GroupBox1 = nullptr;  // "前後"
    TBitBtn* BitBtn41 = nullptr;
    TBitBtn* BitBtn42 = nullptr;
    TGroupBox* GroupBox2 = nullptr;  // "位置合"
    TRadioGroup* RadioGroup2 = nullptr;
    TRadioGroup* RadioGroup3 = nullptr;
    TBitBtn* BitBtn10 = nullptr;
    TBitBtn* buhinn = nullptr;
    TBitBtn* BitBtn32 = nullptr;
    TBitBtn* hanni01 = nullptr;
    TBitBtn* hanni02 = nullptr;

    // Options and printing page.
    TCheckBox* ck_true = nullptr;
    TButton* Button1 = nullptr;
    TRadioGroup* RadioGroup17 = nullptr;
    TRadioGroup* RadioGroup19 = nullptr;
    TRadioGroup* RadioGroup20 = nullptr;
    TMemo* Memo19 = nullptr;
    TComboBox* ComboBox3 = nullptr;
    TMemo* taiou = nullptr;
    TCheckBox* R_time = nullptr;
    TBitBtn* BitBtn20 = nullptr;
    TBitBtn* BitBtn12 = nullptr;
    TBitBtn* BitBtn11 = nullptr;
    TBitBtn* BitBtn13 = nullptr;
    TBitBtn* BitBtn16 = nullptr;
    TBitBtn* BitBtn17 = nullptr;

    // Dialogs.
    TColorDialog* ColorDialog1 = nullptr;
    TColorDialog* ColorDialog2 = nullptr;
    TOpenPictureDialog* OpenPictureDialog1 = nullptr;
    TPrintDialog* PrintDialog1 = nullptr;
    TPrinterSetupDialog* PrinterSetupDialog1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    // Timers: ledger request polling, the hover display's pause, the frame blink.
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;
    TTimer* Timer4 = nullptr;
};

}  // namespace tarvek
