// The all-or-nothing picture file.
#include "plot/PictureFile.h"

#include "numeric/Exceptions.h"

#include <QImageWriter>
#include <QSaveFile>

void WritePictureFile(const QImage& picture, const QString& fileName, const char* format)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly)) {
        QImageWriter writer(&file, format);
        if (writer.write(picture) && file.commit())
            return;
        file.cancelWriting();
    }
    throw Exception("Cannot create file " + fileName.toStdString());
}

void WriteWholeFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception("Cannot create file " + fileName.toStdString());
}
