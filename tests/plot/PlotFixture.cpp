// The picture tests' engine and pixel questions.
#include "PlotFixture.h"

#include <QDir>

QImage PlotFixture::Plot(const std::string& formula, bool keepView)
{
    Evaluator.SetFormula(formula);
    Evaluator.Compile();
    if (!keepView)
        Engine.View().ResetView = true;
    const TViewWindow view = Engine.View();
    QImage picture = Engine.Plot(Evaluator, Request);
    EXPECT_EQ(FpuStatusWord() & StatusFaults, 0) << "a plot left a fault flag set";
    // The same plot with every line drawn on its own, as a plain painter draws it.
    const TViewWindow after = Engine.View();
    Engine.View() = view;
    TPlotCanvas canvas(Engine.PictureSize(), Engine.DevicePixelRatio(), nullptr, TPlotCanvas::TDrawing::Plain);
    Engine.Plot(Evaluator, Request, canvas);
    EXPECT_EQ(canvas.Finish(), picture) << "lines drawn together change the picture";
    Engine.View() = after;
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    Save(picture, std::string(test->test_suite_name()) + "." + test->name());
    return picture;
}

QImage PlotFixture::FrameAndAxesOnly()
{
    TPlotCanvas canvas(Engine.PictureSize(), Engine.DevicePixelRatio());
    Engine.DrawFrame(canvas, Request);
    Engine.DrawAxes(canvas, Request);
    return canvas.Finish();
}

void PlotFixture::Save(const QImage& picture, const std::string& name) const
{
    const QString folder = QStringLiteral(ORVALIS_PICTURE_DIR);
    QDir().mkpath(folder);
    picture.save(folder + "/" + QString::fromStdString(name) + ".png");
}

TColor PlotFixture::At(const QImage& picture, int x, int y)
{
    const QRgb rgb = picture.pixel(x, y);
    return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

int PlotFixture::Count(const QImage& picture, int x0, int y0, int x1, int y1, TColor color)
{
    int count = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            count += Is(picture, x, y, color);
    return count;
}

int PlotFixture::Marked(const QImage& picture, int x0, int y0, int x1, int y1) const
{
    const int area = (x1 - x0 + 1) * (y1 - y0 + 1);
    return area - Count(picture, x0, y0, x1, y1, Request.Drawing.BackgroundColor);
}

QRect PlotFixture::Difference(const QImage& a, const QImage& b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}
