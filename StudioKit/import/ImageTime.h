#ifndef IMAGETIME_H
#define IMAGETIME_H

#include <QString>

// One entry of an order's "ImageTime.txt": an imported photo's name and its
// shot time.
struct ImageTime {
    QString fileName;
    QString shotTime;
};

#endif
