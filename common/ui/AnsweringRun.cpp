#include "common/ui/AnsweringRun.h"

#include <QEventLoop>

#include <thread>

void runAnswering(const std::function<void()>& work, std::atomic<bool>& abandon)
{
    std::atomic<bool> done{false};
    QEventLoop loop;
    std::thread worker([&] {
        work();
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the program is told to end: the work is then abandoned.
    if (!done) {
        abandon = true;
    }
    worker.join();
}
