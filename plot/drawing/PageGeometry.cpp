#include "plot/drawing/PageGeometry.h"

#include <algorithm>
#include <cmath>

int TextPixels(int points, double scale)
{
    const int pixels = PixelsOfPoints(points);
    return scale == 1.0 ? pixels : std::max(1, static_cast<int>(std::lround(pixels * scale)));
}

std::int32_t DrawnPenWidth(std::int32_t width, TPictureSize size)
{
    return std::min(width, 2 * (size.Width + size.Height));
}

bool IsFar(std::int32_t v)
{
    return std::abs(static_cast<double>(v)) > SafeCoordinate;
}

bool ClipToSafeBox(double& x1, double& y1, double& x2, double& y2)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + SafeCoordinate, SafeCoordinate - x1, y1 + SafeCoordinate, SafeCoordinate - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = ax;
    y1 = ay;
    return true;
}
