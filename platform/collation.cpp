#include "platform/collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <numeric>

namespace tarvek {

namespace {

// A collator sets itself up on first use, even in its const calls: one per thread.
const QCollator& Collator() {
    thread_local const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Japanese, QLocale::Japan));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

}  // namespace

int CompareCollated(const std::string& a, const std::string& b) {
    const int order = Collator().compare(QString::fromStdString(a), QString::fromStdString(b));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::vector<std::size_t> CollatedOrder(const std::vector<std::string>& texts) {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const std::string& t : texts) keys.push_back(Collator().sortKey(QString::fromStdString(t)));
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return keys[x].compare(keys[y]) < 0; });
    return order;
}

}  // namespace tarvek
