#include "SameDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>

void ExpectSameDrawing(const QImage& page, const QImage& picture, const char* what)
{
    const QSize more = page.size() - picture.size();
    ASSERT_TRUE(more.width() >= 0 && more.width() <= 1 && more.height() >= 0 && more.height() <= 1)
        << what << ": " << page.width() << "x" << page.height();
    const QRgb background = picture.pixel(0, 0);
    const auto nearInk = [&](int x, int y) {
        for (int v = std::max(0, y - 2); v <= std::min(picture.height() - 1, y + 2); ++v)
            for (int u = std::max(0, x - 2); u <= std::min(picture.width() - 1, x + 2); ++u)
                if (picture.pixel(u, v) != background)
                    return true;
        return false;
    };
    int same = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool equal = (page.pixel(x, y) & 0xFFFFFF) == (picture.pixel(x, y) & 0xFFFFFF);
            same += equal;
            if (!equal && !nearInk(x, y))
                ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") away from every line";
        }
    EXPECT_GT(same, picture.width() * picture.height() * 95 / 100) << what;
}
