// Pictures as file bytes and files.
#pragma once

#include "plot/output/OutputFile.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

// `picture` encoded in `format` ("bmp", "png"); raises "Cannot encode the
// picture as <format>" when Qt's image writer fails.
QByteArray EncodePicture(const QImage& picture, const char* format);

// Writes `picture` to `fileName` in `format`, whatever the name's
// extension, through TFileWriter: a regular file is replaced all or
// nothing, a device or a pipe written in place. Raises EFileWriteError,
// "Cannot write <name>: <reason>", and leaves an old file as it was.
// While a pipe waits for its reader, `wait` is called now and then.
void WritePictureFile(const QImage& picture, const QString& fileName, const char* format,
                      const std::function<void()>& wait = {});
