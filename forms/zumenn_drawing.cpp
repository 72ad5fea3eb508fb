#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::BindDrawingTools() {}

}  // namespace tarvek
