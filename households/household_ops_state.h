// What the household operations keep between calls.
#pragma once

namespace tarvek {

struct THouseholdOpsState {};

}  // namespace tarvek
