// Printing on CUPS: the CUPS destinations, the default one as current, the page in printer pixels
// at the queue's own resolution with the printable area that the queue reports for the chosen
// paper, a setup dialog for printer, paper and orientation, and jobs written as PDF into a spool
// file that has no name (nothing is left behind however the program ends) and handed to CUPS.
#pragma once

#include "platform/PrintService.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

// The printable area's distances from the paper's edges, in hundredths of a millimetre, for
// the paper in portrait.
struct PaperMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class QtPrintService : public PrintService {
public:
    std::vector<std::string> printers() override;
    bool selectCurrentPrinter() override;
    std::string currentPrinter() const override;
    PrinterMetrics metrics() const override;
    bool runSetupDialog(QWidget* owner) override;
    std::unique_ptr<PrintJob> startJob(const std::string& title) override;

private:
    void usePrinter(const QString& name, const QPageSize& paper, QPageLayout::Orientation orientation);

    QString printer_;
    QPageSize paper_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    int dpi_ = 0;
    PaperMargins margins_;
    // The CUPS name of the paper ("na_letter_8.5x11in"), sent with the job; empty when unknown.
    std::string media_;
};
