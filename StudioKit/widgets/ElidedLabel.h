#ifndef ELIDEDLABEL_H
#define ELIDEDLABEL_H

#include <QLabel>

// A one-line label for texts of any length, such as folder paths: what does
// not fit is elided in the middle, so the start and the end stay readable,
// and the tooltip shows the whole text. It asks its layout for room for the
// whole text but needs none of it, so a long text never widens its window.
// text() stays the whole text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& text = QString(), QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as it is painted at the label's present width.
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;
};

#endif
