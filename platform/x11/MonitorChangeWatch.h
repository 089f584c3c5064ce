// Tells when monitors come, go or change (RandR notifications, as Qt reports them), once per burst
// of changes, so that windows left on no monitor can be brought back.
#pragma once

#include <QObject>

#include <functional>

class QScreen;

class MonitorChangeWatch : public QObject {
public:
    explicit MonitorChangeWatch(std::function<void()> changed, QObject* parent = nullptr);

private:
    void watch(QScreen* screen);
    void schedule();

    std::function<void()> changed_;
    bool scheduled_ = false;
};
