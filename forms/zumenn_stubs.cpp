// Handlers of operations that are not built yet: each one does nothing.
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::Memo1Change() {}
void TForm_zumenn::Memo1KeyDown(unsigned short&, TShiftState) {}
void TForm_zumenn::ComboBox1Change() {}
void TForm_zumenn::Timer4Timer() {}
void TForm_zumenn::Memo3Click() {}
void TForm_zumenn::Memo6Click() {}
void TForm_zumenn::Memo8Click() {}

void TForm_zumenn::BitBtn7MouseEnter() {}
void TForm_zumenn::Button5Click() {}
void TForm_zumenn::BitBtn8MouseEnter() {}
void TForm_zumenn::BitBtn49Click() {}
void TForm_zumenn::BitBtn49MouseEnter() {}
void TForm_zumenn::BitBtn50Click() {}
void TForm_zumenn::BitBtn50MouseEnter() {}
void TForm_zumenn::liyaClick() {}
void TForm_zumenn::RadioGroup1Click() {}
void TForm_zumenn::pen_sty_conbCloseUp() {}
void TForm_zumenn::pen_width_conbCloseUp() {}
void TForm_zumenn::brs_sty_conbCloseUp() {}
void TForm_zumenn::pen_sty_conbMouseEnter() {}
void TForm_zumenn::pen_width_conbMouseEnter() {}
void TForm_zumenn::brs_sty_conbMouseEnter() {}
void TForm_zumenn::Button9Click() {}
void TForm_zumenn::BitBtn57MouseEnter() {}
void TForm_zumenn::Ch_box_clo() {}
void TForm_zumenn::BitBtn56MouseEnter() {}
void TForm_zumenn::BitBtn38Click() {}
void TForm_zumenn::BitBtn38MouseEnter() {}
void TForm_zumenn::BitBtn55Click() {}
void TForm_zumenn::BitBtn55MouseEnter() {}

void TForm_zumenn::gp_setClick() {}
void TForm_zumenn::gp_resetClick() {}
void TForm_zumenn::UpDown1Click(TUDBtnType) {}
void TForm_zumenn::UpDown2Click(TUDBtnType) {}
void TForm_zumenn::UpDown3Click(TUDBtnType) {}
void TForm_zumenn::CheckBox2Click() {}
void TForm_zumenn::ComboBox2Change() {}
void TForm_zumenn::BitBtn9Click() {}
void TForm_zumenn::BitBtn9MouseEnter() {}
void TForm_zumenn::BitBtn41Click() {}
void TForm_zumenn::BitBtn42Click() {}
void TForm_zumenn::BitBtn10Click() {}
void TForm_zumenn::buhinnClick() {}
void TForm_zumenn::BitBtn32Click() {}
void TForm_zumenn::hanni01Click() {}
void TForm_zumenn::hanni02Click() {}

void TForm_zumenn::innsatu() {}
void TForm_zumenn::ComboBox3Change() {}
void TForm_zumenn::BitBtn11Click() {}
void TForm_zumenn::BitBtn12Click() {}
void TForm_zumenn::BitBtn13Click() {}
void TForm_zumenn::BitBtn16Click() {}
void TForm_zumenn::BitBtn17Click() {}
void TForm_zumenn::BitBtn20Click() {}

// The tablet's household buttons, its co-owner list and its selection summary.
void TForm_zumenn::SetRequestedHouseholdClick() {}
void TForm_zumenn::ResetHouseholdsClick() {}
void TForm_zumenn::TabletStringGrid4MouseDown(TMouseButton, TShiftState, int, int) {}
void TForm_zumenn::ShowTabletSelectionSummary() {}

}  // namespace tarvek
