// Ends the program without questions when it is told to from outside: the desktop session's end
// (the session manager's save request, then its quit) or a quit request of the application
// object (for example from a termination signal).
#pragma once

#include <QObject>

#include <functional>

class QSessionManager;

class OutsideEndWatch : public QObject {
public:
    // `saveSettings` runs when the session manager asks the program to save its state;
    // `endWithoutAsking` when the program must end.
    OutsideEndWatch(std::function<void()> saveSettings, std::function<void()> endWithoutAsking);
    ~OutsideEndWatch() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> saveSettings_;
    std::function<void()> endWithoutAsking_;
};
