// Pictures as file bytes, and Qt's names for the one file writer.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <string>

// The name as the file system takes it (the local 8-bit encoding of Qt).
std::string LocalFileName(const QString& fileName);

// `picture` encoded in `format` ("bmp", "png"); raises "Cannot encode the
// picture as <format>" when Qt's image writer fails.
QByteArray EncodePicture(const QImage& picture, const char* format);

// Writes `bytes` to `fileName` through TFileWriter, as WritePictureFile does.
void WriteWholeFile(const QString& fileName, const QByteArray& bytes);

// Writes `picture` to `fileName` in `format`, whatever the name's
// extension, through TFileWriter: a regular file is replaced all or
// nothing, a device or a pipe written in place. Raises EFileWriteError,
// "Cannot write <name>: <reason>", and leaves an old file as it was.
void WritePictureFile(const QImage& picture, const QString& fileName, const char* format);
