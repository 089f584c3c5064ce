#include "app/ui/Delay.h"

#include <QEventLoop>
#include <QTimer>

void delayProcessingEvents(int milliseconds)
{
    if (milliseconds <= 0) {
        return;
    }
    // A nested loop sleeps between events instead of spinning on processEvents().
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::AllEvents);
}
