#include "files/FolderWalk.h"

#include "Platform.h"

void FolderWalk::start(const QString& root)
{
    m_inside = {QFileInfo(Platform::diskPath(root)).canonicalFilePath()};
}

bool FolderWalk::enter(const QFileInfo& folder)
{
    const QString real = folder.canonicalFilePath();
    if (m_inside.contains(real))
        return false;
    m_inside.insert(real);
    return true;
}

void FolderWalk::leave(const QFileInfo& folder)
{
    m_inside.remove(folder.canonicalFilePath());
}
