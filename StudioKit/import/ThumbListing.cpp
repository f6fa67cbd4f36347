#include "import/ThumbListing.h"

#include "import/importphototoserver.h"

ThumbListing::ThumbListing(ImportPhotoToServer* window) : QObject(window), window(window)
{
}

void ThumbListing::updateThumbIcon(int index, QPixmap pic)
{
    window->updateThumbIcon(index, pic);
}
