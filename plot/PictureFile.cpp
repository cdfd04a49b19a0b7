// Encoding a picture and handing it to the file writer.
#include "plot/PictureFile.h"

#include "files/SafeFile.h"
#include "numeric/Exceptions.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

std::string LocalFileName(const QString& fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

QByteArray EncodePicture(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, format).write(picture))
        throw Exception(std::string("Cannot encode the picture as ") + format);
    return bytes;
}

void WriteWholeFile(const QString& fileName, const QByteArray& bytes)
{
    WriteFileBytes(LocalFileName(fileName), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void WritePictureFile(const QImage& picture, const QString& fileName, const char* format)
{
    WriteWholeFile(fileName, EncodePicture(picture, format));
}
