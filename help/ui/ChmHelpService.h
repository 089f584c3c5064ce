// The help service on this desktop: one help window, reused for every topic, reading ztp.chm.
#pragma once

#include "platform/HelpService.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

class HelpWindow;

class ChmHelpService : public QObject, public HelpService {
    Q_OBJECT
public:
    // The help window is laid out at `pixelsPerInch` (0: the toolkit's screen).
    explicit ChmHelpService(int pixelsPerInch = 0);
    ~ChmHelpService() override;

    void displayTopic(const std::string& address) override;
    void displayContents(const std::string& helpFile) override;
    void closeAll() override;

    // The window, once a topic has been shown; null before.
    HelpWindow* window() const { return window_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpWindow& ensureWindow();
    void present();
    // Keeps help above other windows while a modal window of the program is open, an ordinary
    // window otherwise, and watches that modal window for its closing.
    void followModalWindow();
    // The same once the events being handled now are done (a closing window leaves the modal stack
    // only after its hide event).
    void followModalWindowSoon();
    void setKeptAbove(bool above);

    int pixelsPerInch_;
    std::unique_ptr<HelpWindow> window_;
    QPointer<QWidget> modalWindow_;
};
