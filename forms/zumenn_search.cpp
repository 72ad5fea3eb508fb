#include "forms/zumenn.h"

namespace tarvek {

void TForm_zumenn::BindPlotSearch() {}

}  // namespace tarvek
