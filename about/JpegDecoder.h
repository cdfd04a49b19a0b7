// Decodes the About window's JPEG pictures with libjpeg.
#pragma once

#include <QImage>
#include <QString>

#include <cstddef>

// The picture held in `data`, or a null image when it is not a complete,
// well-formed JPEG file (truncated, corrupt, unsupported, or implausibly large).
// Never ends the program and never writes to the console.
QImage DecodeJpeg(const unsigned char* data, std::size_t size);

// The JPEG file `fileName` (a Qt resource path such as ":/about/Rose.jpg" or
// a path on disk), decoded; a null image when it cannot be read or decoded.
QImage LoadJpegFile(const QString& fileName);
