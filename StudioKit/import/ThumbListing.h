#ifndef THUMBLISTING_H
#define THUMBLISTING_H

#include <QObject>
#include <QPixmap>

class ImportPhotoToServer;

// Receiver of one listing's icon jobs, between them and the window: a later
// listing deletes it, which drops the icons still on their way, so an
// earlier listing's icons never reach a later one's rows.
class ThumbListing : public QObject
{
    Q_OBJECT
public:
    explicit ThumbListing(ImportPhotoToServer* window);

public slots:
    void updateThumbIcon(int index, QPixmap pic);

private:
    ImportPhotoToServer* window;
};

#endif
