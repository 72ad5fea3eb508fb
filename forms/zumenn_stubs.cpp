// Handlers of operations that are not built yet: each one does nothing.
#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::gp_setClick() {}
void TForm_zumenn::gp_resetClick() {}
void TForm_zumenn::BitBtn41Click() {}
void TForm_zumenn::BitBtn42Click() {}
void TForm_zumenn::BitBtn10Click() {}

}  // namespace tarvek
