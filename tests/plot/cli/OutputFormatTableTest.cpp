// The table of output formats as each of its readers sees it: the kind of
// file a name gives, the renderer's --format words, limits and help, the
// window's save dialog, and the MIME types other programs know the endings by.
#include "plot/cli/Renderer.h"

#include <QMimeDatabase>

#include <gtest/gtest.h>

namespace {

std::string Upper(const char* text)
{
    return QString::fromLatin1(text).toUpper().toStdString();
}

TEST(OutputFormatTable, EveryRowIsReadTheSameByEveryConsumer)
{
    const QStringList filters = SaveDialogFilters();
    qsizetype filterIndex = 0;
    for (const TOutputFormatRow& row : OutputFormats()) {
        const std::string name = row.Name;
        EXPECT_EQ(OutputFormatRow(row.Format).Name, name);
        // Every ending, in any letter case and under a folder with a dot.
        for (const char* ending : row.Endings) {
            if (!ending)
                continue;
            for (const std::string& file : {"plot" + std::string(ending), "./a.b/PLOT" + Upper(ending)})
                EXPECT_EQ(OutputFormatOf(QString::fromStdString(file)), row.Format) << file;
            // The machine's MIME database may know the type by another of
            // its names (Debian 13 calls audio/x-wav audio/vnd.wave).
            const QMimeType mime =
                QMimeDatabase().mimeTypeForFile(QStringLiteral("x") + QLatin1StringView(ending), QMimeDatabase::MatchExtension);
            const QString type = QString::fromLatin1(row.MimeType);
            EXPECT_TRUE(mime.name() == type || mime.aliases().contains(type))
                << ending << ": " << mime.name().toStdString() << " for " << row.MimeType;
            // The name wins over the filter when the window offers the
            // format; otherwise the filter's format is written.
            EXPECT_EQ(SaveDialogFormat(QStringLiteral("f") + QLatin1StringView(ending), 1),
                      row.DialogFilter ? row.Format : SaveDialogFormat(QStringLiteral("f"), 1)) << ending;
        }
        // --format's word, in any letter case, and the help naming it.
        for (const std::string& word : {name, Upper(row.Name)})
            EXPECT_EQ(ParseRendererArguments({"--format", word, "x", "-"}).Request.Format, row.Format) << word;
        EXPECT_NE(RendererUsage().find(std::string(row.Endings[0]) + " " + Upper(row.Name)), std::string::npos)
            << name;
        // The size limit of its kind.
        TRendererRequest request;
        request.Size = {MaxRasterSide + 1, 80};
        if (row.Raster)
            EXPECT_THROW(CheckRendererOutput(request, row.Format), TUsageError) << name;
        else
            EXPECT_NO_THROW(CheckRendererOutput(request, row.Format)) << name;
        // Drawn without Qt's painter only where the row says so.
        request.Output = "plot" + std::string(row.Endings[0]);
        EXPECT_EQ(DrawnWithoutPainter(request), !row.NeedsPainter) << name;
        // The dialog's filters, in the table's order, and a plain name
        // taking the filter's format.
        if (row.DialogFilter) {
            ASSERT_LT(filterIndex, filters.size()) << name;
            EXPECT_EQ(filters[filterIndex], QLatin1StringView(row.DialogFilter));
            EXPECT_EQ(SaveDialogFormat(QStringLiteral("plain"), filterIndex), row.Format) << name;
            ++filterIndex;
        }
    }
    EXPECT_EQ(filterIndex, filters.size());
}

TEST(OutputFormatTable, NamesWithoutAnEndingAreBmpAndUnknownEndingsNothing)
{
    const struct { const char* name; std::optional<TOutputFormat> format; } cases[] = {
        {"plot", TOutputFormat::Bmp},
        {"./dir.v2/out", TOutputFormat::Bmp},
        {"dir.v2/.hidden", TOutputFormat::Bmp},
        {"dir/.png", TOutputFormat::Png},
        {"a..svg", TOutputFormat::Svg},
        {"frame%d.pdf", TOutputFormat::Pdf},
        {"out.jpg", std::nullopt},
        {"out.tiff", std::nullopt},
        {"d.png.jpg", std::nullopt},
        {"plot.tar.gz", std::nullopt},
        {"out.", std::nullopt},
        {"frame.%d", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutputFormatOf(QString::fromLatin1(c.name)), c.format) << c.name;
    // A name with an ending the window does not offer takes the filter's.
    EXPECT_EQ(SaveDialogFormat(QStringLiteral("x.gif"), 0), TOutputFormat::Bmp);
    EXPECT_EQ(SaveDialogFormat(QStringLiteral("x.jpg"), 99), TOutputFormat::Pdf);
    EXPECT_EQ(SaveDialogFormat(QStringLiteral("x.Svg"), -1), TOutputFormat::Svg);
}

}  // namespace
