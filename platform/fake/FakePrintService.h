// Printers for tests: a scripted list and metrics, setup answers, and jobs recorded page by page
// with failures that can be injected at any step.
#pragma once

#include "platform/PrintService.h"

#include <optional>

class FakePrintService : public PrintService {
public:
    struct Drawing {
        Bitmap image;
        Rect destination;
    };
    struct Job {
        std::string title;
        std::vector<std::vector<Drawing>> pages{1};
        bool ended = false;
    };
    enum class FailAt { Nothing, Start, Draw, End };

    std::vector<std::string> printers() override { return printerNames; }
    bool selectCurrentPrinter() override;
    std::string currentPrinter() const override { return current; }
    PrinterMetrics metrics() const override { return pageMetrics; }
    bool runSetupDialog(QWidget* owner) override;
    std::unique_ptr<PrintJob> startJob(const std::string& title) override;

    std::vector<std::string> printerNames{"Fake Printer"};
    std::string defaultPrinter = "Fake Printer";
    std::string current;
    PrinterMetrics pageMetrics;
    // The setup dialog's answer and, when accepted, the page it leaves.
    bool setupAccepted = false;
    std::optional<PrinterMetrics> metricsAfterSetup;
    int setupDialogs = 0;
    QWidget* lastSetupOwner = nullptr;

    FailAt failAt = FailAt::Nothing;
    std::string failure = "The printer is not accepting jobs";
    std::vector<Job> jobs; // every started job, also failed ones
};
