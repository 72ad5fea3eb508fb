// Texts in the order the user's locale sorts them: the ledger's users read Japanese, so
// the Japanese collation (ICU's, through Qt), whatever locale the process runs in.
// Letter case does not count, and neither does the width of a letter or digit: "２" sorts
// beside "2", "Ａ" beside "a".
#pragma once

#include <string>
#include <vector>

namespace tarvek {

// Negative, 0 or positive, as a sorts before, with or after b (UTF-8 texts).
int CompareCollated(const std::string& a, const std::string& b);

// The order of texts by CompareCollated, stable for equal ones: indices into texts.
// One key per text, so a long list is not collated pair by pair.
std::vector<std::size_t> CollatedOrder(const std::vector<std::string>& texts);

}  // namespace tarvek
