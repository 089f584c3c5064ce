// The actions that a start of the program asks of the running instance ("zentrap --capture"), so
// that the desktop's own keyboard settings can start them where global key grabs see no keys (a
// Wayland session): the five commands of the system-wide hotkeys.
#pragma once

#include "app/CommandTable.h"

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    std::string action; // the action's word ("capture", "full-screen"...); empty: just start
    bool help = false;
    std::string error; // not empty: the arguments are wrong, and this says how
};

// The program's arguments after Qt has taken its own.
CommandLine parseCommandLine(const std::vector<std::string>& args);
// The command of an action's word; nothing for another word.
std::optional<Command> commandForAction(const std::string& word);
// The word of a command's action ("capture"); nothing for a command without one.
std::optional<std::string> actionForCommand(Command command);
// What "zentrap --help" prints.
std::string commandLineUsage();
