// The text cache keeps the texts used most recently, at most as many as its
// capacity, and a text found again keeps what was learnt of it.
#include "plot/TextCache.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCache, TheTextUsedLongestAgoGoesFirst)
{
    // Capacity 3. Each step uses one text (a letter) and says whether it was
    // still kept and which texts are kept after it.
    const struct {
        char Use;
        bool WasKept;
        const char* KeptAfter;
    } steps[] = {
        {'a', false, "a"},   {'b', false, "ab"},  {'c', false, "abc"},
        {'a', true, "abc"},  // a becomes the most recent: b is now the oldest
        {'d', false, "acd"}, {'c', true, "acd"},  {'e', false, "cde"},
        {'e', true, "cde"},  {'b', false, "bce"}, {'d', false, "bde"},
    };
    TTextCache cache(3);
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string("using ") + step.Use);
        bool found = false;
        TTextCache::TText& text = cache.Find(QString(QChar::fromLatin1(step.Use)), found);
        EXPECT_EQ(found, step.WasKept);
        // What was learnt of a text stays with it while it is kept.
        if (found) {
            EXPECT_EQ(text.Advance, step.Use);
        }
        text.Advance = step.Use;
        for (char letter = 'a'; letter <= 'f'; ++letter)
            EXPECT_EQ(cache.Contains(QString(QChar::fromLatin1(letter))),
                      std::string(step.KeptAfter).find(letter) != std::string::npos)
                << letter;
        EXPECT_LE(cache.Size(), 3u);
    }
}

}  // namespace
