// A list in order of use and a hash into it: finding, moving to the front
// and dropping the last entry each take constant time.
#include "plot/TextCache.h"

TTextCache::TText& TTextCache::Find(const QString& key, bool& found)
{
    const auto known = Index.constFind(key);
    found = known != Index.cend();
    if (found) {
        Order.splice(Order.begin(), Order, *known);
        return Order.front().second;
    }
    if (Order.size() >= Capacity) {
        Index.remove(Order.back().first);
        Order.pop_back();
    }
    Order.emplace_front(key, TText{});
    Index.insert(key, Order.begin());
    return Order.front().second;
}
