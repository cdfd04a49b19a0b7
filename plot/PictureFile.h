// Writing a picture to a file, all or nothing.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Writes `picture` to `fileName` in `format` ("bmp", "png"), whatever the
// name's extension, replacing a file of that name. The picture is written
// beside it and renamed over it, so a failure leaves nothing behind and an
// old file as it was; it raises "Cannot create file <name>".
void WritePictureFile(const QImage& picture, const QString& fileName, const char* format);
// The same for bytes already encoded.
void WriteWholeFile(const QString& fileName, const QByteArray& bytes);
