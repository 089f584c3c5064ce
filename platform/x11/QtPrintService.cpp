#include "platform/x11/QtPrintService.h"

#include "common/ZentrapError.h"
#include "platform/x11/PrintSetupDialog.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <algorithm>
#include <array>
#include <cmath>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Without a resolution from the queue, the page is laid out as Qt's high-resolution printers are.
constexpr int kFallbackDpi = 1200;

struct CupsDest {
    explicit CupsDest(const QString& name)
        : dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toLocal8Bit().constData(), nullptr))
    {
        if (dest != nullptr) {
            info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
        }
    }
    ~CupsDest()
    {
        cupsFreeDestInfo(info);
        if (dest != nullptr) {
            cupsFreeDests(1, dest);
        }
    }
    CupsDest(const CupsDest&) = delete;
    CupsDest& operator=(const CupsDest&) = delete;

    cups_dest_t* dest = nullptr;
    cups_dinfo_t* info = nullptr;
};

// The queue's default resolution as CUPS reports it; 0 when it reports none.
int queueResolution(const CupsDest& queue)
{
    if (queue.info == nullptr) {
        return 0;
    }
    ipp_attribute_t* attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, queue.dest, queue.info, "printer-resolution");
    if (attr == nullptr) {
        return 0;
    }
    ipp_res_t units = IPP_RES_PER_INCH;
    int yres = 0;
    int xres = ippGetResolution(attr, 0, &yres, &units);
    return units == IPP_RES_PER_CM ? static_cast<int>(std::lround(xres * 2.54)) : xres;
}

int toPixels(int hundredthsOfMm, int dpi)
{
    return static_cast<int>(std::lround(hundredthsOfMm * static_cast<double>(dpi) / 2540.0));
}

bool schedulerReachable()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (http == nullptr) {
        return false;
    }
    httpClose(http);
    return true;
}

// What went wrong with the last CUPS request, in the user's words where CUPS only has an errno.
std::string cupsFailure(const QString& queue)
{
    std::string said = cupsLastErrorString() != nullptr ? cupsLastErrorString() : "The print job failed";
    if (!schedulerReachable()) {
        return "The print service is not running.";
    }
    if (CupsDest(queue).dest == nullptr) {
        return "The printer \"" + queue.toStdString() + "\" no longer exists.";
    }
    return said;
}

// A spool file without a name in the temporary folder, readable by the user alone.
int openSpoolFile()
{
    QByteArray folder = QFile::encodeName(QDir::tempPath());
    int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        return fd;
    }
    // File systems without unnamed files: the name lives only until the next instruction.
    QByteArray pattern = folder + "/zentrap-print-XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::unlink(pattern.constData());
    }
    return fd;
}

class SpoolFile {
public:
    SpoolFile() : fd_(openSpoolFile())
    {
        if (fd_ < 0 || !file_.open(fd_, QIODevice::ReadWrite, QFileDevice::DontCloseHandle)) {
            throw ZentrapError("The print job could not be started");
        }
    }
    ~SpoolFile()
    {
        file_.close();
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    QFile& file() { return file_; }
    int fd() const { return fd_; }

private:
    int fd_;
    QFile file_;
};

struct JobPage {
    QPageSize paper;
    QPageLayout::Orientation orientation;
    int dpi;
    QRect printable; // in printer pixels from the sheet's top-left corner
    std::string media;
};

class CupsPdfJob : public PrintJob {
public:
    CupsPdfJob(const QString& queue, const std::string& title, const JobPage& page)
        : queue_(queue), title_(title), media_(page.media), writer_(&spool_.file())
    {
        writer_.setTitle(QString::fromStdString(title));
        writer_.setCreator("Zentrap");
        writer_.setResolution(page.dpi);
        writer_.setPageLayout(QPageLayout(page.paper, page.orientation, QMarginsF()));
        if (!painter_.begin(&writer_)) {
            throw ZentrapError("The print job could not be started");
        }
        // Images go into the job losslessly, as the printer would get them from a bitmap.
        painter_.setRenderHint(QPainter::LosslessImageRendering);
        // The origin is the printable area's corner, and nothing reaches the paper outside it.
        painter_.translate(page.printable.topLeft());
        painter_.setClipRect(QRect(QPoint(0, 0), page.printable.size()));
    }
    ~CupsPdfJob() override
    {
        if (painter_.isActive()) {
            painter_.end();
        }
    }
    CupsPdfJob(const CupsPdfJob&) = delete;
    CupsPdfJob& operator=(const CupsPdfJob&) = delete;

    void drawImage(const Bitmap& image, const Rect& destination) override
    {
        if (image.pixelFormat() != PixelFormat::Bpp24) {
            throw ZentrapError("Only 24-bit images can be printed");
        }
        // One image object for every copy of the same picture: the document holds its pixels once.
        if (image.bits() != lastBits_ || view_.width() != image.width() || view_.height() != image.height()) {
            view_ = QImage(image.bits(), image.width(), image.height(), static_cast<qsizetype>(image.stride()),
                           QImage::Format_BGR888);
            lastBits_ = image.bits();
        }
        painter_.drawImage(QRect(destination.left, destination.top, destination.width(), destination.height()), view_);
    }

    void newPage() override
    {
        if (!writer_.newPage()) {
            throw ZentrapError("A new page could not be started");
        }
    }

    void end() override
    {
        if (!painter_.end()) {
            throw ZentrapError("The print job failed");
        }
        spool_.file().flush();
        submit();
    }

private:
    void submit()
    {
        QByteArray queue = queue_.toLocal8Bit();
        cups_option_t* options = nullptr;
        int count = 0;
        if (!media_.empty()) {
            count = cupsAddOption("media", media_.c_str(), count, &options);
        }
        int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), title_.c_str(), count, options);
        cupsFreeOptions(count, options);
        if (job == 0) {
            throw ZentrapError(cupsFailure(queue_));
        }
        bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, title_.c_str(), CUPS_FORMAT_PDF, 1) ==
                    HTTP_STATUS_CONTINUE;
        std::array<char, 65536> chunk{};
        off_t offset = 0;
        while (sent) {
            ssize_t n = ::pread(spool_.fd(), chunk.data(), chunk.size(), offset);
            if (n <= 0) {
                sent = n == 0;
                break;
            }
            offset += n;
            sent =
                cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.data(), static_cast<size_t>(n)) == HTTP_STATUS_CONTINUE;
        }
        if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) > IPP_STATUS_OK_EVENTS_COMPLETE || !sent) {
            std::string failure = cupsFailure(queue_);
            cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
            throw ZentrapError(failure);
        }
    }

    QString queue_;
    std::string title_;
    std::string media_;
    SpoolFile spool_;
    QPdfWriter writer_;
    QPainter painter_;
    QImage view_;
    const uint8_t* lastBits_ = nullptr;
};

} // namespace

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
    QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.isEmpty()) {
        printer_.clear();
        return false;
    }
    if (!printer_.isEmpty() && names.contains(printer_)) {
        return true;
    }
    QString name = QPrinterInfo::defaultPrinterName();
    usePrinter(names.contains(name) ? name : names.front(), QPageSize(), QPageLayout::Portrait);
    return true;
}

void QtPrintService::usePrinter(const QString& name, const QPageSize& paper, QPageLayout::Orientation orientation)
{
    printer_ = name;
    orientation_ = orientation;
    // The queue's default paper is the one the user set up.
    paper_ = paper.isValid() ? paper : QPrinterInfo::printerInfo(name).defaultPageSize();
    if (!paper_.isValid()) {
        paper_ = QPageSize(QPageSize::Letter);
    }
    CupsDest queue(name);
    int dpi = queueResolution(queue);
    dpi_ = dpi > 0 ? dpi : kFallbackDpi;
    margins_ = {};
    media_.clear();
    QSizeF mm = paper_.size(QPageSize::Millimeter);
    cups_size_t size{};
    if (queue.info != nullptr &&
        cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, queue.dest, queue.info,
                               static_cast<int>(std::lround(mm.width() * 100)),
                               static_cast<int>(std::lround(mm.height() * 100)), CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
        margins_ = {size.left, size.top, size.right, size.bottom};
        media_ = size.media;
    }
}

std::string QtPrintService::currentPrinter() const
{
    return printer_.toStdString();
}

PrinterMetrics QtPrintService::metrics() const
{
    if (printer_.isEmpty()) {
        return {};
    }
    QSize paper = paper_.sizePixels(dpi_);
    PaperMargins m = margins_;
    if (orientation_ == QPageLayout::Landscape) {
        // The sheet turned a quarter anticlockwise: its left edge was the bottom one.
        paper.transpose();
        m = {margins_.bottom, margins_.left, margins_.top, margins_.right};
    }
    const int left = toPixels(m.left, dpi_);
    const int top = toPixels(m.top, dpi_);
    return {.dpiX = dpi_,
            .dpiY = dpi_,
            .marginLeft = left,
            .marginTop = top,
            .printableWidth = std::max(0, paper.width() - left - toPixels(m.right, dpi_)),
            .printableHeight = std::max(0, paper.height() - top - toPixels(m.bottom, dpi_)),
            .paperWidth = paper.width(),
            .paperHeight = paper.height()};
}

bool QtPrintService::runSetupDialog(QWidget* owner)
{
    if (printer_.isEmpty()) {
        return false;
    }
    PrintSetupDialog dialog({printer_, paper_, orientation_}, QPrinterInfo::availablePrinterNames(), owner);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    PrintSetupChoice chosen = dialog.choice();
    if (chosen.printer.isEmpty()) {
        return false;
    }
    usePrinter(chosen.printer, chosen.paper, chosen.orientation);
    return true;
}

std::unique_ptr<PrintJob> QtPrintService::startJob(const std::string& title)
{
    if (printer_.isEmpty()) {
        throw ZentrapError("No printer installed");
    }
    if (CupsDest(printer_).dest == nullptr) {
        throw ZentrapError(cupsFailure(printer_));
    }
    PrinterMetrics page = metrics();
    return std::make_unique<CupsPdfJob>(
        printer_, title,
        JobPage{paper_, orientation_, dpi_,
                QRect(page.marginLeft, page.marginTop, page.printableWidth, page.printableHeight), media_});
}
