// Qt's names for the one file writer (files/SafeFile.h).
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>

// The name as the file system takes it (the local 8-bit encoding of Qt).
std::string LocalFileName(const QString& fileName);

// Writes `bytes` to `fileName` through TFileWriter: a regular file is
// replaced all or nothing, a device or a pipe written in place. Raises
// EFileWriteError, "Cannot write <name>: <reason>", and leaves an old file
// as it was. While a pipe waits for its reader, `wait` is called now and
// then (a window keeps its events going there).
void WriteWholeFile(const QString& fileName, const QByteArray& bytes, const std::function<void()>& wait = {});
