#include "common/HivePaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(HivePaths, UserFilesFollowTheConfigHome)
{
    ScopedEnv home("HOME", "/home/tester");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(userHivePath(), "/cfg/zentrap/user.reg");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(userHivePath(), "/home/tester/.config/zentrap/user.reg");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(userConfigFolder(), "/home/tester/.config/zentrap") << "a relative config home is ignored";
    }
}

TEST(HivePaths, TheMachineHiveCanBeMovedByTheEnvironment)
{
    {
        ScopedEnv machine("ZENTRAP_MACHINE_HIVE", nullptr);
        EXPECT_EQ(machineHivePath(), "/etc/zentrap/machine.reg");
    }
    {
        ScopedEnv machine("ZENTRAP_MACHINE_HIVE", "/tmp/m.reg");
        EXPECT_EQ(machineHivePath(), "/tmp/m.reg");
    }
    ScopedEnv machine("ZENTRAP_MACHINE_HIVE", "");
    EXPECT_EQ(machineHivePath(), "/etc/zentrap/machine.reg");
}
