#ifndef FOLDERWALK_H
#define FOLDERWALK_H

#include <QFileInfo>
#include <QSet>
#include <QString>

// The real folders a tree walk is inside of. Linked sub-folders are walked
// too, unless they lead back into one of these, so a link loop ends.
//
//   walk.start(root);
//   for each sub-folder entry: if (walk.enter(entry)) { recurse; walk.leave(entry); }
class FolderWalk
{
public:
    // Begins a walk at `root` (a path as the program builds it).
    void start(const QString& root);
    // False when the folder is one the walk is already inside of.
    bool enter(const QFileInfo& folder);
    void leave(const QFileInfo& folder);

private:
    QSet<QString> m_inside;
};

#endif
