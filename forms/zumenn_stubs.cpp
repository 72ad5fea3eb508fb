// Handlers of operations that are not built yet: each one does nothing. (None is left.)
#include "forms/zumenn.h"

namespace tarvek {}  // namespace tarvek
