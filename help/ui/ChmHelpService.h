// The help service on this desktop: one help window, reused for every topic, reading ztp.chm.
#pragma once

#include "platform/HelpService.h"

#include <memory>

class HelpWindow;

class ChmHelpService : public HelpService {
public:
    ChmHelpService();
    ~ChmHelpService() override;

    void displayTopic(const std::string& address) override;
    void displayContents(const std::string& helpFile) override;
    void closeAll() override;

    // The window, once a topic has been shown; null before.
    HelpWindow* window() const { return window_.get(); }

private:
    HelpWindow& ensureWindow();
    void present();

    std::unique_ptr<HelpWindow> window_;
};
