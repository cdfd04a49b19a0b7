// The points of interest against answers known in closed form: roots to the
// nearest double, extrema to 1e-9, no roots at poles, no floods on flat
// stretches, whatever the number of samples.
#include "plot/core/CurvePoints.h"

#include "RapidEvaluator/RapidEvaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;
constexpr double ExtremumTolerance = 1e-9;

std::vector<TPointOfInterest> PointsOf(const char* formula, double low, double high, std::int32_t n = 2000)
{
    TRapidEvaluator evaluator;
    evaluator.SetFormula(formula);
    evaluator.Compile();
    auto samples = std::make_unique<TSamples>();
    samples->SampleCount = n;
    SampleFormula(evaluator, low, high, 0.0, *samples);
    return FindPointsOfInterest(evaluator, low, high, 0.0, *samples);
}

std::vector<double> XsOf(const std::vector<TPointOfInterest>& points, TPointKind kind)
{
    std::vector<double> xs;
    for (const TPointOfInterest& point : points)
        if (point.Kind == kind)
            xs.push_back(point.X);
    return xs;
}

// Within one step of the doubles from the double nearest the exact value.
bool WithinOneUlp(double found, long double exact)
{
    const double nearest = static_cast<double>(exact);
    return found == nearest || std::nextafter(nearest, found) == found;
}

bool WithinRelative(double found, long double exact)
{
    return std::fabs(found - exact) <= ExtremumTolerance * std::max(1.0L, std::fabs(exact));
}

struct TExpected {
    const char* Formula;
    double Low, High;
    std::vector<long double> Roots, Maxima, Minima, UndefinedTo;
    bool YIntercept;
};

std::vector<long double> Multiples(long double of, long double offset, int from, int to)
{
    std::vector<long double> values;
    for (int k = from; k <= to; ++k)
        values.push_back(offset + k * of);
    return values;
}

const std::vector<TExpected>& Cases()
{
    static const std::vector<TExpected> cases = {
        {"sin(x)", -10, 10, Multiples(Pi, 0, -3, 3), Multiples(2 * Pi, Pi / 2, -1, 1),
         Multiples(2 * Pi, -Pi / 2, -1, 1), {}, true},
        {"x^3-2*x", -10, 10, {-std::sqrt(2.0L), 0, std::sqrt(2.0L)}, {-std::sqrt(2.0L / 3)}, {std::sqrt(2.0L / 3)}, {},
         true},
        // Poles at ±π/2: a sign change there is no root.
        {"tg(x)", -3, 3, {0}, {}, {}, {}, true},
        {"tg(x)", -10, 10, Multiples(Pi, 0, -3, 3), {}, {}, {}, true},
        {"1/x", -10, 10, {}, {}, {}, {}, false},
        {"x/(x-1)", -10, 10, {0}, {}, {}, {}, true},
        {"sqrt(x)-1", -10, 10, {1}, {}, {}, {0}, true},
        {"exp(-x*x)", -10, 10, {}, {0}, {}, {}, true},
        // A constant 0 and flat stretches: no flood of roots or extrema.
        {"0", -10, 10, {}, {}, {}, {}, true},
        {"abs(x)-abs(x-1)", -10, 10, {0.5}, {}, {}, {}, true},
    };
    return cases;
}

void ExpectNear(const std::vector<double>& found, const std::vector<long double>& exact, bool exactRoot,
                const char* what, const TExpected& c, std::int32_t n)
{
    ASSERT_EQ(found.size(), exact.size()) << what << " of " << c.Formula << " with " << n << " samples";
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (exactRoot)
            EXPECT_TRUE(WithinOneUlp(found[i], exact[i]))
                << what << " " << found[i] << " of " << c.Formula << ", expected " << static_cast<double>(exact[i]);
        else
            EXPECT_TRUE(WithinRelative(found[i], exact[i]))
                << what << " " << found[i] << " of " << c.Formula << ", expected " << static_cast<double>(exact[i]);
    }
}

TEST(PointsOfInterest, ClosedFormAnswersForEverySampleCount)
{
    // The window samples once per pixel column: the answers must not depend
    // on where the samples fall (on a pole, on a root, beside either).
    for (const std::int32_t n : {2000, 1999, 1000, 530, 77}) {
        for (const TExpected& c : Cases()) {
            const std::vector<TPointOfInterest> points = PointsOf(c.Formula, c.Low, c.High, n);
            ExpectNear(XsOf(points, TPointKind::Root), c.Roots, true, "root", c, n);
            ExpectNear(XsOf(points, TPointKind::Maximum), c.Maxima, false, "maximum", c, n);
            ExpectNear(XsOf(points, TPointKind::Minimum), c.Minima, false, "minimum", c, n);
            ExpectNear(XsOf(points, TPointKind::UndefinedTo), c.UndefinedTo, true, "undefined-to", c, n);
            EXPECT_TRUE(XsOf(points, TPointKind::UndefinedFrom).empty()) << c.Formula;
            EXPECT_EQ(XsOf(points, TPointKind::YIntercept).size(), c.YIntercept ? 1u : 0u) << c.Formula;
        }
    }
}

TEST(PointsOfInterest, ValuesAreTheFormulas)
{
    for (const TPointOfInterest& point : PointsOf("sin(x)", -10, 10)) {
        const double expected = point.Kind == TPointKind::Root || point.Kind == TPointKind::YIntercept ? 0.0
                                : point.Kind == TPointKind::Maximum                                       ? 1.0
                                                                                                          : -1.0;
        EXPECT_NEAR(point.Y, expected, 1e-15) << PointKindWord(point.Kind) << " at " << point.X;
    }
    // The end of an undefined stretch where it begins: the last defined x and
    // its value, the next double being undefined.
    const std::vector<TPointOfInterest> points = PointsOf("sqrt(1-x)", -10, 10);
    const std::vector<double> from = XsOf(points, TPointKind::UndefinedFrom);
    ASSERT_EQ(from.size(), 1u);
    EXPECT_EQ(from[0], 1.0);
}

TEST(PointsOfInterest, PolarIsTheSameOverTheAngle)
{
    // r = cos(angle) over a turn: roots at π/2 and 3π/2, the minimum at π.
    const std::vector<TPointOfInterest> points = PointsOf("cos(x)", 0, 2 * static_cast<double>(Pi));
    const std::vector<double> roots = XsOf(points, TPointKind::Root);
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_TRUE(WithinOneUlp(roots[0], Pi / 2));
    EXPECT_TRUE(WithinOneUlp(roots[1], 3 * Pi / 2));
    const std::string csv = PointsCsv(points, true);
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1), "kind,angle,r,x,y\r\n");
    EXPECT_NE(csv.find("\r\nminimum,3.14159265"), std::string::npos) << csv;
}

}  // namespace
