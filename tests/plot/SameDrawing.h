// A page rasterised by another program, compared with the picture of the
// same plot.
#pragma once

#include <QImage>

// They differ only by smoothing, within two pixels of a line or a letter. A
// PDF page is a whole number of points, up to one pixel more than the
// picture.
void ExpectSameDrawing(const QImage& page, const QImage& picture, const char* what);
