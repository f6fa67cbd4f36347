#ifndef VIDEOLISTUPDATE_H
#define VIDEOLISTUPDATE_H

#include <QString>
#include <QStringList>

// What the video-list button offers the photo-selection side: the videos now
// in an order's trial or retouched video folder, and the question that shows
// them (or, for an empty folder, asks to clear the list).
class VideoListUpdate
{
public:
    VideoListUpdate(const QString& folder, bool trial);

    QString question() const { return m_question; }
    // File names and their full local paths, each joined with "|"; empty for
    // an empty folder.
    QString videofiles() const { return m_names.join(QLatin1Char('|')); }
    QString videopaths() const { return m_paths.join(QLatin1Char('|')); }

private:
    QString m_question;
    QStringList m_names;
    QStringList m_paths;
};

#endif
