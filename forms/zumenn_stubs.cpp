// Handlers of operations that are not built yet: each one does nothing.
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::ComboBox1Change() {}
void TForm_zumenn::Timer4Timer() {}

void TForm_zumenn::tou_nameEnter() {}
void TForm_zumenn::tou_nameExit() {}
void TForm_zumenn::tou_nameKeyPress(char32_t&) {}

void TForm_zumenn::BitBtn43Click() {}

void TForm_zumenn::Edit3KeyPress(char32_t&) {}
void TForm_zumenn::BitBtn18Click() {}
void TForm_zumenn::BitBtn19Click() {}
void TForm_zumenn::BitBtn21Click() {}
void TForm_zumenn::BitBtn22Click() {}
void TForm_zumenn::BitBtn23Click() {}
void TForm_zumenn::BitBtn24Click() {}
void TForm_zumenn::BitBtn25Click() {}
void TForm_zumenn::BitBtn26Click() {}
void TForm_zumenn::tokyuuClick() {}
void TForm_zumenn::tokyuuMouseEnter() {}
void TForm_zumenn::ComboBox4Enter() {}
void TForm_zumenn::ComboBox4Exit() {}
void TForm_zumenn::ComboBox4KeyPress(char32_t&) {}

void TForm_zumenn::BitBtn49Click() {}
void TForm_zumenn::BitBtn49MouseEnter() {}
void TForm_zumenn::BitBtn50Click() {}
void TForm_zumenn::BitBtn50MouseEnter() {}
void TForm_zumenn::liyaClick() {}
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
void TForm_zumenn::BitBtn44Click() {}
void TForm_zumenn::BitBtn14Click() {}
void TForm_zumenn::botika_trueClick() {}
void TForm_zumenn::botika_trueMouseEnter() {}
void TForm_zumenn::botika_falseClick() {}
void TForm_zumenn::botika_falseMouseEnter() {}
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

}  // namespace tarvek
