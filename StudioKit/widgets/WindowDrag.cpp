#include "widgets/WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>

bool WindowDrag::press(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    m_dragging = true;
    m_lastX = event->globalPos().x();
    m_lastY = event->globalPos().y();
    event->ignore();
    return true;
}

void WindowDrag::move(QWidget* window, QMouseEvent* event)
{
    if (m_dragging) {
        window->move(window->x() + event->globalPos().x() - m_lastX, window->y() + event->globalPos().y() - m_lastY);
        m_lastX = event->globalPos().x();
        m_lastY = event->globalPos().y();
    }
    event->ignore();
}

void WindowDrag::release(QMouseEvent* event)
{
    m_dragging = false;
    event->ignore();
}
