#ifndef SEPARATIONBUSY_H
#define SEPARATIONBUSY_H

class QObject;

// One separation run at a time in the whole program: the current-order
// globals, g_orderGoodsList, g_separateOrderDir and ImageData are
// process-wide, so two windows running at once would mix their orders.
//
// Use: `acquire(this)` when a run starts (false: show "正在分件，请稍后");
// `release(this)` at its end, at every stop and when the window closes.
// Only the GUI thread calls these.
class SeparationBusy
{
public:
    static bool acquire(const QObject* window);
    // Does nothing unless `window` holds the run.
    static void release(const QObject* window);
    static bool isBusy();
};

#endif
