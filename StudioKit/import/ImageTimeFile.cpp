#include "import/ImageTimeFile.h"

#include "files/SafeFileWriter.h"
#include "Platform.h"

#include <QFile>
#include <QTextCodec>

bool ImageTimeFile::append(const QString& path, const QString& entries)
{
    QByteArray content;
    QFile existing(Platform::diskPath(path));
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return false;
        content = existing.readAll();
        existing.close();
    }
    content += QTextCodec::codecForLocale()->fromUnicode(entries);
    return SafeFileWriter::writeFile(path, content);
}

QString ImageTimeFile::read(const QString& path)
{
    QFile file(Platform::diskPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QTextCodec::codecForLocale()->toUnicode(file.readAll()).trimmed();
}
