// The texts a canvas has measured and laid out, kept for the next picture:
// plots of one view draw the same labels again and again. Bounded: past its
// capacity the text used longest ago goes. Glyphs hold on to the fonts they
// come from, so a cache must go before the application does; its owner (the
// engine of a window or of the renderer, or a canvas of its own) sees to it.
#pragma once

#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QString>

#include <cstddef>
#include <list>
#include <utility>

class TTextCache {
public:
    // What is known of one text in one font: its advance, and once it has
    // been laid out its glyphs and the ascent of its line.
    struct TText {
        int Advance = 0;
        bool LaidOut = false;
        QList<QGlyphRun> Runs;
        qreal Ascent = 0;
    };

    // Far more than the labels of a view and its title.
    static constexpr std::size_t DefaultCapacity = 4096;

    explicit TTextCache(std::size_t capacity = DefaultCapacity) : Capacity(capacity < 1 ? 1 : capacity) {}
    TTextCache(const TTextCache&) = delete;
    TTextCache& operator=(const TTextCache&) = delete;

    // The entry of `key`, the most recently used from now on; a new, empty
    // one (`found` false) when it was not kept. The reference holds until the
    // next call.
    TText& Find(const QString& key, bool& found);
    bool Contains(const QString& key) const { return Index.contains(key); }
    std::size_t Size() const { return Order.size(); }

private:
    using TOrder = std::list<std::pair<QString, TText>>;
    TOrder Order;  // the most recently used first
    QHash<QString, TOrder::iterator> Index;
    std::size_t Capacity;
};
