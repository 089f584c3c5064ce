#include "platform/fake/FakePrintService.h"

#include "common/ZentrapError.h"

#include <algorithm>

namespace {

class FakeJob : public PrintJob {
public:
    FakeJob(FakePrintService& service, size_t index) : service_(service), index_(index) {}

    void drawImage(const Bitmap& image, const Rect& destination) override
    {
        failIf(FakePrintService::FailAt::Draw);
        job().pages.back().push_back({image, destination});
    }
    void newPage() override { job().pages.emplace_back(); }
    void end() override
    {
        job().ended = true;
        failIf(FakePrintService::FailAt::End);
    }

private:
    FakePrintService::Job& job() { return service_.jobs[index_]; }
    void failIf(FakePrintService::FailAt step)
    {
        if (service_.failAt == step) {
            throw ZentrapError(service_.failure);
        }
    }

    FakePrintService& service_;
    size_t index_;
};

} // namespace

bool FakePrintService::selectCurrentPrinter()
{
    auto has = [&](const std::string& name) {
        return std::find(printerNames.begin(), printerNames.end(), name) != printerNames.end();
    };
    if (printerNames.empty()) {
        return false;
    }
    if (!has(current)) {
        current = has(defaultPrinter) ? defaultPrinter : printerNames.front();
    }
    return true;
}

bool FakePrintService::runSetupDialog(QWidget* owner)
{
    ++setupDialogs;
    lastSetupOwner = owner;
    if (setupAccepted && metricsAfterSetup) {
        pageMetrics = *metricsAfterSetup;
    }
    return setupAccepted;
}

std::unique_ptr<PrintJob> FakePrintService::startJob(const std::string& title)
{
    jobs.push_back({title});
    if (failAt == FailAt::Start) {
        throw ZentrapError(failure);
    }
    return std::make_unique<FakeJob>(*this, jobs.size() - 1);
}
