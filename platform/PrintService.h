// The printers of the desktop: which exist, the current one and its page metrics, its setup
// dialog, and print jobs that draw 24-bit images at exact printer-pixel rectangles.
#pragma once

#include "common/Bitmap.h"
#include "common/Geometry.h"
#include "common/PrinterMetrics.h"

#include <memory>
#include <string>
#include <vector>

class QWidget;

// One job: pages are drawn in printer pixels with the origin at the printable area's top-left
// corner. Failures throw ZentrapError with the print system's message.
class PrintJob {
public:
    virtual ~PrintJob() = default;

    // Draws the whole of a 24-bit `image` stretched into `destination`.
    virtual void drawImage(const Bitmap& image, const Rect& destination) = 0;
    virtual void newPage() = 0;
    // Hands the job to the print system. A job destroyed without end() is abandoned.
    virtual void end() = 0;
};

class PrintService {
public:
    virtual ~PrintService() = default;

    // The printers' names; empty when there is none or the print system cannot be reached.
    virtual std::vector<std::string> printers() = 0;
    // Makes a printer current: the one already current while it still exists, else the
    // system's default destination, else the first printer. False when there is no printer.
    virtual bool selectCurrentPrinter() = 0;
    virtual std::string currentPrinter() const = 0;
    // The current printer's page, as the page layout needs it.
    virtual PrinterMetrics metrics() const = 0;
    // The setup dialog (printer, paper, orientation) for the current printer, transient for
    // `owner`; true when the user accepted it.
    virtual bool runSetupDialog(QWidget* owner) = 0;
    // Starts a job on the current printer; throws ZentrapError when it cannot.
    virtual std::unique_ptr<PrintJob> startJob(const std::string& title) = 0;
};
