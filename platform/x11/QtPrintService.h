// Printing through Qt on CUPS: the CUPS destinations, the default one as current, the page in
// printer pixels at the queue's own resolution, Qt's print dialog, and jobs whose submission is
// checked with CUPS (Qt does not report a refused job).
#pragma once

#include "platform/PrintService.h"

#include <memory>

class QPrinter;

class QtPrintService : public PrintService {
public:
    QtPrintService();
    ~QtPrintService() override;

    std::vector<std::string> printers() override;
    bool selectCurrentPrinter() override;
    std::string currentPrinter() const override;
    PrinterMetrics metrics() const override;
    bool runSetupDialog(QWidget* owner) override;
    std::unique_ptr<PrintJob> startJob(const std::string& title) override;

private:
    void usePrinter(const std::string& name);
    void applyQueueResolution();

    std::unique_ptr<QPrinter> printer_;
};
