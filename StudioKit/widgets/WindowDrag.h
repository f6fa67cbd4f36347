#ifndef WINDOWDRAG_H
#define WINDOWDRAG_H

class QMouseEvent;
class QWidget;

// Moves a frameless window while the left button is held down on it. Every
// handled event is marked ignored, as the login windows expect.
class WindowDrag
{
public:
    // True when the press was the left button's and starts a drag.
    bool press(QMouseEvent* event);
    void move(QWidget* window, QMouseEvent* event);
    void release(QMouseEvent* event);

private:
    bool m_dragging = false;
    int m_lastX = 0;
    int m_lastY = 0;
};

#endif
