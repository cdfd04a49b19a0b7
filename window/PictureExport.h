// The picture shown, exported: to the clipboard, and to a file in the format
// its name or the save dialog's filter chooses.
#pragma once

#include "window/PlotView.h"

#include <QByteArray>
#include <QString>

enum class TOutputFormat;
class QWidget;

// Puts the picture shown on the clipboard; without one nothing happens.
void CopyPictureToClipboard(const TPlotView& view);

// "Save to bitmap file...": asks for a name, offering the name and the filter
// chosen last, and writes the picture shown in the format the name's ending
// or the filter chooses. Raises the writer's error.
class TPictureExport {
public:
    void SaveToFile(QWidget* parent, const TPlotView& view);

private:
    QString LastName;
    // Set while a save waits for a pipe's reader: the window's events go on,
    // and another save waits its turn.
    bool Saving = false;
    qsizetype LastFilter = 0;
};

// The plot shown, drawn again as a page (SVG or PDF) by an engine and a
// compile of its own, so that nothing of the window changes.
QByteArray PlotShownPage(const TPlotView::TShownPlot& shown, TOutputFormat format);
