#ifndef LYRAFILEINFO_H
#define LYRAFILEINFO_H

#include <QList>
#include <QMetaType>
#include <QString>

// One file of a Lyra-folder import: where it is and where it goes.
class LyraFileInfo
{
public:
    QString sourcePath() const { return m_sourcePath; }
    void setSourcePath(QString path) { m_sourcePath = path; }
    QString targetPath() const { return m_targetPath; }
    void setTargetPath(QString path) { m_targetPath = path; }

private:
    QString m_sourcePath;
    QString m_targetPath;
};

Q_DECLARE_METATYPE(LyraFileInfo)

#endif
