// Handlers of operations that are not built yet: each one does nothing.
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::Memo1Change() {}
void TForm_zumenn::Memo1KeyDown(unsigned short&, TShiftState) {}
void TForm_zumenn::Memo3Click() {}
void TForm_zumenn::Memo6Click() {}
void TForm_zumenn::Memo8Click() {}

void TForm_zumenn::BitBtn7MouseEnter() {}
void TForm_zumenn::Button5Click() {}
void TForm_zumenn::BitBtn8MouseEnter() {}
void TForm_zumenn::RadioGroup1Click() {}

void TForm_zumenn::gp_setClick() {}
void TForm_zumenn::gp_resetClick() {}
void TForm_zumenn::BitBtn41Click() {}
void TForm_zumenn::BitBtn42Click() {}
void TForm_zumenn::BitBtn10Click() {}

void TForm_zumenn::BitBtn11Click() {}
void TForm_zumenn::BitBtn12Click() {}
void TForm_zumenn::BitBtn13Click() {}
void TForm_zumenn::BitBtn16Click() {}
void TForm_zumenn::BitBtn17Click() {}
void TForm_zumenn::BitBtn20Click() {}

}  // namespace tarvek
