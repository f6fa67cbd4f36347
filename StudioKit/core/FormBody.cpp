#include "core/FormBody.h"

#include <QList>

FormBody& FormBody::add(const QString& key, const QString& value)
{
    return addEncoded(key, escapeValue(value));
}

FormBody& FormBody::addEncoded(const QString& key, const QByteArray& encodedValue)
{
    if (!m_body.isEmpty())
        m_body += '&';
    m_body += key.toUtf8() + '=' + encodedValue;
    return *this;
}

QByteArray FormBody::escapeValue(const QString& value)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray escaped;
    const QByteArray utf8 = value.toUtf8();
    escaped.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        const bool special = byte == '%' || byte == '&' || byte == '+' || byte == '=' || byte == '#'
            || byte < 0x20 || byte == 0x7F;
        if (special) {
            escaped += '%';
            escaped += hex[byte >> 4];
            escaped += hex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QByteArray FormBody::masked(const QByteArray& body)
{
    static const QList<QByteArray> secretKeys = {"password", "pwd", "token"};
    QList<QByteArray> pairs = body.split('&');
    for (QByteArray& pair : pairs) {
        const int equals = pair.indexOf('=');
        if (equals >= 0 && secretKeys.contains(pair.left(equals).toLower()))
            pair = pair.left(equals + 1) + "***";
    }
    return pairs.join('&');
}
