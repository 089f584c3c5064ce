// Where the per-user files live: the user hive, the machine hive and the fallback settings folder.
#pragma once

#include <string>

// $XDG_CONFIG_HOME/zentrap when that is an absolute path, else ~/.config/zentrap.
std::string userConfigFolder();
// The user hive: <user config folder>/user.reg.
std::string userHivePath();
// $ZENTRAP_MACHINE_HIVE when set and not empty, else /etc/zentrap/machine.reg.
std::string machineHivePath();
