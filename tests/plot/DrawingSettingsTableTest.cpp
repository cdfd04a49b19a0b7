// Every reader of the drawing settings' table sees every row: the settings
// file's keys, orvalis-plot's options and usage, the Preferences dialog's
// controls (or, for the Curve menu's rows, the dialog passing them on), the
// manual page and the help page. A row added without what it
// needs in one of them fails here, by its key.
#include "plot/cli/RendererOptions.h"
#include "preferences/PrefDialog.h"
#include "settings/SettingsFile.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace {

// One visitor made of a lambda for each kind of field.
template <class... Ts>
struct TOverloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TOverloaded(Ts...) -> TOverloaded<Ts...>;

// The defaults with the row's field changed to a value each reader can hold
// (the dialog's line widths are 1 and 3), and that value as an option's text.
struct TChanged {
    TDrawingSettings Settings;
    std::vector<std::string> Words;
};

TChanged Changed(const TDrawingSetting& row)
{
    TChanged changed;
    TDrawingSettings& s = changed.Settings;
    const std::string option = std::string("--") + row.Option;
    std::visit(TOverloaded{[&](TColor TDrawingSettings::*field) {
                               s.*field ^= 0x00A5A5A5;
                               changed.Words = {option, "bgr:" + std::to_string(s.*field)};
                           },
                           [&](std::int32_t TDrawingSettings::*field) {
                               s.*field += 2;
                               EXPECT_LE(s.*field, row.Max);
                               changed.Words = {option, std::to_string(s.*field)};
                           },
                           [&](bool TDrawingSettings::*field) {
                               s.*field = !(s.*field);
                               changed.Words = {option};
                           }},
               row.Field);
    return changed;
}

QString FileText(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

TEST(DrawingSettingsTable, TheSettingsFileKeepsEveryRowUnderItsKeyInTheTablesOrder)
{
    QTemporaryDir folder;
    TIniFile file(folder.filePath("Orvalis.INI").toStdString());
    WriteSettings(file, TSettings());
    const QString fresh = FileText(QString::fromStdString(file.FileName()));
    qsizetype last = fresh.indexOf("\nXhigh=");
    for (const TDrawingSetting& row : DrawingSettingsTable) {
        const qsizetype at = fresh.indexOf(QString("\n%1=").arg(row.Key));
        // A setting added later stays out of a file until it is used.
        EXPECT_EQ(at >= 0, row.Writing == TKeyWriting::Always) << row.Key;
        if (at >= 0) {
            EXPECT_GT(at, last) << row.Key << " out of the table's order";
            last = at;
        }
    }
    EXPECT_LT(last, fresh.indexOf("\nZ=")) << "the drawing settings lie between Xhigh and Z";

    for (const TDrawingSetting& row : DrawingSettingsTable) {
        TSettings changed;
        changed.Drawing = Changed(row).Settings;
        WriteSettings(file, changed);
        EXPECT_TRUE(FileText(QString::fromStdString(file.FileName())).contains(QString("\n%1=").arg(row.Key)))
            << row.Key;
        EXPECT_EQ(ReadSettings(file), changed) << row.Key;
        // Once in the file, a key stays there, also back at its default.
        WriteSettings(file, TSettings());
        EXPECT_TRUE(FileText(QString::fromStdString(file.FileName())).contains(QString("\n%1=").arg(row.Key)))
            << row.Key;
        EXPECT_EQ(ReadSettings(file), TSettings()) << row.Key;
    }
}

TEST(DrawingSettingsTable, OrvalisPlotHasAnOptionForEveryRow)
{
    const std::vector<std::string> names = RendererOptionNames();
    for (const TDrawingSetting& row : DrawingSettingsTable) {
        EXPECT_NE(std::find(names.begin(), names.end(), row.Option), names.end()) << row.Key;
        EXPECT_NE(RendererUsage().find(std::string("\n  --") + row.Option), std::string::npos) << row.Key;
        const TChanged changed = Changed(row);
        std::vector<std::string> words = changed.Words;
        words.insert(words.end(), {"x", "out.png"});
        EXPECT_EQ(ParseRendererArguments(words).Request.Drawing, changed.Settings) << row.Key;
    }
}

TEST(DrawingSettingsTable, ThePreferencesDialogShowsAndEditsEveryRow)
{
    for (const TDrawingSetting& row : DrawingSettingsTable) {
        TPrefDialog dialog;
        const QWidget* control = dialog.findChild<QWidget*>(row.Widget);
        if (row.Place == TControlPlace::CurveMenu) {
            // The main window's menu item edits it; the dialog has no
            // control for it and passes on what it was given, so that OK
            // in the dialog cannot turn it back to its default.
            EXPECT_EQ(control, nullptr) << row.Key;
            const TDrawingSettings changed = Changed(row).Settings;
            dialog.Fill(changed);
            EXPECT_EQ(dialog.Settings(), changed) << row.Key;
            continue;
        }
        ASSERT_NE(control, nullptr) << row.Key;
        QString caption = control->toolTip();
        if (const auto* box = qobject_cast<const QGroupBox*>(control))
            caption = box->title();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(control); button && !button->text().isEmpty())
            caption = button->text();
        EXPECT_EQ(caption.toStdString(), row.Caption) << row.Key;

        const TDrawingSettings changed = Changed(row).Settings;
        dialog.Fill(changed);
        EXPECT_EQ(dialog.Settings(), changed) << row.Key;
        dialog.Fill(TDrawingSettings());
        EXPECT_EQ(dialog.Settings(), TDrawingSettings()) << row.Key;
    }
}

TEST(DrawingSettingsTable, TheManualAndTheHelpDescribeEveryRow)
{
    const QString manual = FileText(ORVALIS_SOURCE_DIR "/data/orvalis-plot.1");
    const QString help = FileText(ORVALIS_SOURCE_DIR "/docs/OrvalisHelp.html");
    for (const TDrawingSetting& row : DrawingSettingsTable) {
        const QString option = QString("--") + row.Option;
        EXPECT_TRUE(manual.contains(".TP\n.B " + QString(option).replace("-", "\\-")) ||
                    manual.contains(".TP\n.BI " + QString(option).replace("-", "\\-") + " "))
            << row.Key << ": no entry for " << option.toStdString();
        EXPECT_TRUE(help.contains("<code>" + option)) << row.Key;
        EXPECT_TRUE(help.contains(QString(row.Key) + "=")) << row.Key;
        EXPECT_TRUE(help.contains(QString("<b>%1</b>").arg(row.Caption))) << row.Key;
    }
}

}  // namespace
