// The About pictures decode with libjpeg to their sizes and contents, and a
// damaged file gives a null image instead of ending the program.
#include "about/JpegDecoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

QByteArray ResourceBytes(const QString& name)
{
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

QImage Decode(const QByteArray& bytes)
{
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size()));
}

int Brightness(QRgb pixel)
{
    return (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3;
}

struct TPictureCase {
    const char* Resource;
    int Width, Height;
};

const TPictureCase Pictures[] = {
    {":/about/Rose.jpg", 335, 279},   // grey-scale JPEG
    {":/about/Banner.jpg", 200, 48},  // colour JPEG
};

} // namespace

TEST(JpegDecoder, ShippedPicturesDecodeToTheirSizes)
{
    for (const TPictureCase& picture : Pictures) {
        SCOPED_TRACE(picture.Resource);
        const QImage image = LoadJpegFile(picture.Resource);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), picture.Width);
        EXPECT_EQ(image.height(), picture.Height);
        // Both are drawn on white.
        EXPECT_GT(Brightness(image.pixel(1, 1)), 245);
        EXPECT_GT(Brightness(image.pixel(image.width() - 2, image.height() - 2)), 245);
    }

    // The rose stays pale behind the texts: its darkest grey is light.
    const QImage rose = LoadJpegFile(":/about/Rose.jpg");
    int darkest = 255;
    for (int y = 0; y < rose.height(); ++y)
        for (int x = 0; x < rose.width(); ++x)
            darkest = std::min(darkest, Brightness(rose.pixel(x, y)));
    EXPECT_GT(darkest, 150);
    EXPECT_LT(darkest, 230);
}

// Qt's own JPEG reader as a second opinion on every pixel; the two may
// differ by rounding in the inverse transform and the colour conversion.
TEST(JpegDecoder, PixelsAgreeWithQtsReader)
{
    constexpr int Tolerance = 3;
    for (const TPictureCase& picture : Pictures) {
        SCOPED_TRACE(picture.Resource);
        const QByteArray bytes = ResourceBytes(picture.Resource);
        const QImage ours = Decode(bytes);
        const QImage theirs = QImage::fromData(bytes, "JPG").convertToFormat(QImage::Format_RGB888);
        if (theirs.isNull())
            GTEST_SKIP() << "Qt has no JPEG reader here";
        ASSERT_EQ(ours.size(), theirs.size());
        int worst = 0;
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(worst, Tolerance);
    }
}

TEST(JpegDecoder, DamagedFilesGiveANullImage)
{
    const QByteArray rose = ResourceBytes(":/about/Rose.jpg");
    const QByteArray banner = ResourceBytes(":/about/Banner.jpg");
    ASSERT_GT(rose.size(), 1000);

    QByteArray flipped = banner;
    for (qsizetype i = banner.size() / 3; i < banner.size() / 3 + 64; ++i)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    QByteArray noStartOfFrame = rose;
    noStartOfFrame[1] = '\x00';  // FF D8 becomes FF 00: not a JPEG file

    const struct {
        const char* What;
        QByteArray Bytes;
    } cases[] = {
        {"one byte", rose.left(1)},
        {"the start-of-image marker only", rose.left(2)},
        {"cut in the headers", rose.left(100)},
        {"cut in the middle of the scan", rose.left(rose.size() / 2)},
        {"missing its end marker", rose.left(rose.size() - 2)},
        {"bytes of the scan altered", flipped},
        {"no start-of-image marker", noStartOfFrame},
        {"text", QByteArray("this is not a picture")},
        {"zeros", QByteArray(4096, '\0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_TRUE(Decode(c.Bytes).isNull());
    }
    EXPECT_TRUE(DecodeJpeg(nullptr, 0).isNull());

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(LoadJpegFile(folder.filePath("absent.jpg")).isNull());
    EXPECT_TRUE(LoadJpegFile(":/about/absent.jpg").isNull());
}
