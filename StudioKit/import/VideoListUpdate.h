#ifndef VIDEOLISTUPDATE_H
#define VIDEOLISTUPDATE_H

#include <QString>
#include <QStringList>

class ImportOrderModel;

// What the video-list button offers the photo-selection side for the order
// shown: the videos now in its trial or retouched video folder, and the
// question that shows them (or, for an empty folder, asks to clear the
// list); or why there is nothing to offer.
class VideoListUpdate
{
public:
    // `order` is null when no order is shown.
    VideoListUpdate(const ImportOrderModel* order, bool trial);

    // The message that ends the offer, or empty: no order shown, the order
    // has no folder yet, or its video folder cannot be opened (or climbs out
    // of the roots).
    QString refusal() const { return m_refusal; }
    QString question() const { return m_question; }
    // File names and their full local paths, each joined with "|"; empty for
    // an empty folder.
    QString videofiles() const { return m_names.join(QLatin1Char('|')); }
    QString videopaths() const { return m_paths.join(QLatin1Char('|')); }

private:
    void offer(const QString& folder, bool trial);

    QString m_refusal;
    QString m_question;
    QStringList m_names;
    QStringList m_paths;
};

#endif
