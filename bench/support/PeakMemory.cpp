#include "bench/support/PeakMemory.h"

#include <fstream>
#include <string>

namespace {

size_t statusKiB(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stoull(line.substr(field.size())) * 1024;
        }
    }
    return 0;
}

} // namespace

size_t peakResidentBytes()
{
    return statusKiB("VmHWM:");
}

size_t residentBytes()
{
    return statusKiB("VmRSS:");
}

bool resetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5"; // resets VmHWM to VmRSS
    clear.close();
    return static_cast<bool>(clear);
}
