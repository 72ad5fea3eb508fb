// What the plot search and the plot information panel keep between calls.
#pragma once

namespace tarvek {

struct TPlotSearchState {};

}  // namespace tarvek
