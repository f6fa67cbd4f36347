#ifndef CODEIMAGEINFO_H
#define CODEIMAGEINFO_H

#include <QString>

// The texts and the bar-code picture of one dispatch label.
struct CodeImageInfo
{
    QString line1;     // goods name
    QString line2;     // goods size name
    QString imagePath; // bar-code picture file
    QString caption;   // goods id, two blanks, booking number
    QString footer;    // shop name
};

#endif
