#include "lyra/XmlText.h"

#include <algorithm>

namespace {

// XML 1.0 forbids the C0 controls and U+FFFE/U+FFFF; DEL and the C1
// controls it only discourages, but XML 1.1 readers refuse them raw, and
// none of them belongs in a name. Each is one UTF-16 unit, never half of
// a surrogate pair.
bool isLeftOut(QChar c)
{
    const ushort unit = c.unicode();
    if (unit < 0x20)
        return unit != '\t' && unit != '\n' && unit != '\r';
    return (unit >= 0x7F && unit <= 0x9F) || unit == 0xFFFE || unit == 0xFFFF;
}

} // namespace

QString XmlText::content(QString value)
{
    value.truncate(int(std::remove_if(value.begin(), value.end(), isLeftOut) - value.begin()));
    return value.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
}
