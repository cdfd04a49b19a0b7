// Qt's file names handed to the file writer.
#include "plot/output/OutputFile.h"

#include "files/SafeFile.h"

#include <QFile>

std::string LocalFileName(const QString& fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

void WriteWholeFile(const QString& fileName, const QByteArray& bytes, const std::function<void()>& wait)
{
    WriteFileBytes(LocalFileName(fileName), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                   wait);
}
