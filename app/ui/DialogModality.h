// Makes every modal dialog of the program block only the windows it belongs to (its owner and the
// owner's owners), not the whole application, so that the help window, a window of its own, stays
// usable beside any of them.
#pragma once

#include <QObject>

class DialogModality : public QObject {
public:
    // Watches every window of the application from now on.
    explicit DialogModality(QObject* application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
