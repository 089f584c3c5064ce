#include "app/CommandLineActions.h"

namespace {

struct Action {
    const char* word;
    Command command;
    const char* what;
};

constexpr Action kActions[] = {
    {"capture", Command::Capture, "capture the Capture Frame's hole (or the screen in full-screen mode)"},
    {"full-screen", Command::FullScreen, "switch full-screen mode on or off, as the Full screen button"},
    {"edit", Command::Edit, "open the Image Editor on the last capture"},
    {"save", Command::Save, "open Save As for the last capture"},
    {"print", Command::Print, "open the Print Preview for the last capture"},
};

} // namespace

std::optional<Command> commandForAction(const std::string& word)
{
    for (const Action& action : kActions) {
        if (word == action.word) {
            return action.command;
        }
    }
    return std::nullopt;
}

std::optional<std::string> actionForCommand(Command command)
{
    for (const Action& action : kActions) {
        if (command == action.command) {
            return action.word;
        }
    }
    return std::nullopt;
}

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        const std::string word = arg.starts_with("--") ? arg.substr(2) : std::string();
        if (!commandForAction(word)) {
            line.error = "unknown argument " + arg;
        } else if (!line.action.empty() && line.action != word) {
            line.error = "one action at a time, not --" + line.action + " and " + arg;
        } else {
            line.action = word;
        }
    }
    return line;
}

std::string commandLineUsage()
{
    std::string text = "Usage: zentrap [ACTION]\n"
                       "Starts Zentrap, or brings the one running on this display to the front.\n"
                       "With an action, the running Zentrap does it (started first when none runs):\n";
    for (const Action& action : kActions) {
        std::string option = std::string("  --") + action.word;
        option.resize(16, ' ');
        text += option + action.what + "\n";
    }
    text += "Bind these commands to keys in your desktop's keyboard settings: in a Wayland session\n"
            "Zentrap's own hotkeys see only the keys typed into X11 programs.\n";
    return text;
}
