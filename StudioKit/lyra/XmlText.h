#ifndef XMLTEXT_H
#define XMLTEXT_H

#include <QString>

// Text from the service as the content of one element of the Lyra lists.
// One character that XML cannot carry makes the whole file unreadable for
// Lyra, so such characters are left out; every other text keeps its bytes.
class XmlText
{
public:
    // `value` without the control characters (tab, line feed and carriage
    // return stay), DEL, the C1 controls, U+FFFE and U+FFFF, and with "&",
    // "<" and ">" escaped.
    static QString content(QString value);
};

#endif
