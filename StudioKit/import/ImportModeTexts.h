#ifndef IMPORTMODETEXTS_H
#define IMPORTMODETEXTS_H

#include <QString>

// What the single-order window shows in an import mode (0 photos, 1 finished
// images, any other value design images) and which order sub-folders it
// lists; the folders are named without a trailing "/".
struct ImportModeTexts {
    QString loading;
    QString title;
    QString folder;
    QString thumbnailFolder;
    QString caption;
    QString appendLabel;
    QString progressCaption;

    static ImportModeTexts of(int mode);
};

#endif
