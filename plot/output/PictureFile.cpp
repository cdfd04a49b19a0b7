// Encoding a picture and handing it to the file writer.
#include "plot/output/PictureFile.h"

#include "numeric/Exceptions.h"

#include <QBuffer>
#include <QImageWriter>

QByteArray EncodePicture(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, format).write(picture))
        throw Exception(std::string("Cannot encode the picture as ") + format);
    return bytes;
}

void WritePictureFile(const QImage& picture, const QString& fileName, const char* format,
                      const std::function<void()>& wait)
{
    WriteWholeFile(fileName, EncodePicture(picture, format), wait);
}
