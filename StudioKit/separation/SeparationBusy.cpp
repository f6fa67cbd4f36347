#include "separation/SeparationBusy.h"

namespace {

const QObject* g_runningWindow = nullptr;

} // namespace

bool SeparationBusy::acquire(const QObject* window)
{
    if (g_runningWindow && g_runningWindow != window)
        return false;
    g_runningWindow = window;
    return true;
}

void SeparationBusy::release(const QObject* window)
{
    if (g_runningWindow == window)
        g_runningWindow = nullptr;
}

bool SeparationBusy::isBusy()
{
    return g_runningWindow != nullptr;
}
