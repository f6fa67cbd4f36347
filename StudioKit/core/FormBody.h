#ifndef FORMBODY_H
#define FORMBODY_H

#include <QByteArray>
#include <QString>

// Builds a form body: pairs in the given order, UTF-8, "&" between pairs.
// Values go as they stand except for the few characters that would split or
// inject pairs, so ordinary values give the same bytes as plain joining.
class FormBody
{
public:
    FormBody& add(const QString& key, const QString& value);
    // For values the caller has already percent-encoded in full.
    FormBody& addEncoded(const QString& key, const QByteArray& encodedValue);

    QByteArray bytes() const { return m_body; }

    static QByteArray escapeValue(const QString& value);
    // A copy of a body for debug lines, with passwords and tokens masked.
    static QByteArray masked(const QByteArray& body);

private:
    QByteArray m_body;
};

#endif
