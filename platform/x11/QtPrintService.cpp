#include "platform/x11/QtPrintService.h"

#include "common/ZentrapError.h"

#include <QDialogButtonBox>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <cups/cups.h>

#include <algorithm>
#include <cmath>

namespace {

// The queue's default resolution as CUPS reports it; 0 when it reports none.
int queueResolution(const std::string& name)
{
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
    if (dest == nullptr) {
        return 0;
    }
    int dpi = 0;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        if (ipp_attribute_t* attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")) {
            ipp_res_t units = IPP_RES_PER_INCH;
            int yres = 0;
            int xres = ippGetResolution(attr, 0, &yres, &units);
            dpi = units == IPP_RES_PER_CM ? static_cast<int>(std::lround(xres * 2.54)) : xres;
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return dpi;
}

class QtPrintJob : public PrintJob {
public:
    explicit QtPrintJob(QPrinter& printer) : printer_(printer)
    {
        if (!painter_.begin(&printer_)) {
            throw ZentrapError("The print job could not be started");
        }
        // Images go into the job losslessly, as the printer would get them from a bitmap.
        painter_.setRenderHint(QPainter::LosslessImageRendering);
    }
    ~QtPrintJob() override
    {
        if (painter_.isActive()) {
            printer_.abort();
            painter_.end();
        }
    }

    void drawImage(const Bitmap& image, const Rect& destination) override
    {
        if (image.pixelFormat() != PixelFormat::Bpp24) {
            throw ZentrapError("Only 24-bit images can be printed");
        }
        QImage view(image.bits(), image.width(), image.height(), static_cast<qsizetype>(image.stride()),
                    QImage::Format_BGR888);
        painter_.drawImage(QRect(destination.left, destination.top, destination.width(), destination.height()), view);
    }

    void newPage() override
    {
        if (!printer_.newPage()) {
            throw ZentrapError("A new page could not be started");
        }
    }

    void end() override
    {
        bool written = painter_.end();
        if (printer_.outputFormat() == QPrinter::NativeFormat) {
            // Qt hands the document to CUPS at end() and ignores the answer; CUPS keeps it.
            if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
                throw ZentrapError(cupsLastErrorString());
            }
        }
        if (!written || printer_.printerState() == QPrinter::Error) {
            throw ZentrapError("The print job failed");
        }
    }

private:
    QPrinter& printer_;
    QPainter painter_;
};

} // namespace

QtPrintService::QtPrintService() = default;
QtPrintService::~QtPrintService() = default;

std::vector<std::string> QtPrintService::printers()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        names.push_back(name.toStdString());
    }
    return names;
}

bool QtPrintService::selectCurrentPrinter()
{
    std::vector<std::string> names = printers();
    if (names.empty()) {
        printer_.reset();
        return false;
    }
    auto has = [&](const std::string& name) { return std::find(names.begin(), names.end(), name) != names.end(); };
    if (printer_ && printer_->outputFormat() == QPrinter::NativeFormat && has(currentPrinter())) {
        return true;
    }
    std::string name = QPrinterInfo::defaultPrinterName().toStdString();
    usePrinter(has(name) ? name : names.front());
    return true;
}

void QtPrintService::usePrinter(const std::string& name)
{
    QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
    printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Qt starts from its own default paper; the queue's default is the one the user set up.
    QPageSize paper = info.defaultPageSize();
    if (paper.isValid()) {
        printer_->setPageSize(paper);
    }
    printer_->setFullPage(false);
    applyQueueResolution();
}

void QtPrintService::applyQueueResolution()
{
    int dpi = queueResolution(printer_->printerName().toStdString());
    if (dpi > 0) {
        printer_->setResolution(dpi);
    }
}

std::string QtPrintService::currentPrinter() const
{
    return printer_ ? printer_->printerName().toStdString() : std::string();
}

PrinterMetrics QtPrintService::metrics() const
{
    if (!printer_) {
        return {};
    }
    int dpi = printer_->resolution();
    QPageLayout page = printer_->pageLayout();
    QRect full = page.fullRectPixels(dpi);
    QRect paint = page.paintRectPixels(dpi);
    return {.dpiX = dpi,
            .dpiY = dpi,
            .marginLeft = paint.left() - full.left(),
            .marginTop = paint.top() - full.top(),
            .printableWidth = paint.width(),
            .printableHeight = paint.height(),
            .paperWidth = full.width(),
            .paperHeight = full.height()};
}

bool QtPrintService::runSetupDialog(QWidget* owner)
{
    if (!printer_) {
        return false;
    }
    QString before = printer_->printerName();
    QPrintDialog dialog(printer_.get(), owner);
    dialog.setWindowTitle("Print Setup");
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    // The dialog only sets the printer up; its accepting button would say "Print".
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
            ok->setText("OK");
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    if (printer_->printerName() != before) {
        applyQueueResolution();
    }
    return true;
}

std::unique_ptr<PrintJob> QtPrintService::startJob(const std::string& title)
{
    if (!printer_) {
        throw ZentrapError("No printer installed");
    }
    printer_->setDocName(QString::fromStdString(title));
    // Copies are pages of the job itself.
    printer_->setCopyCount(1);
    printer_->setPrintRange(QPrinter::AllPages);
    try {
        return std::make_unique<QtPrintJob>(*printer_);
    } catch (const ZentrapError&) {
        // A printer whose painter failed to begin cannot be used again.
        std::string name = currentPrinter();
        usePrinter(name);
        throw;
    }
}
