#include "common/HivePaths.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (!home.empty()) {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return "/tmp";
}

} // namespace

std::string userConfigFolder()
{
    // The base-directory rules ignore a relative XDG_CONFIG_HOME.
    std::string base = environment("XDG_CONFIG_HOME");
    if (base.empty() || base.front() != '/') {
        base = homeFolder() + "/.config";
    }
    return base + "/zentrap";
}

std::string userHivePath()
{
    return userConfigFolder() + "/user.reg";
}

std::string machineHivePath()
{
    std::string path = environment("ZENTRAP_MACHINE_HIVE");
    return path.empty() ? std::string("/etc/zentrap/machine.reg") : path;
}
