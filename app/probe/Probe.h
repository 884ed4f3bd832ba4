// The command-line probe: the window's operations on the drives, printed instead of shown.
#pragma once

#include "OsServices.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quenlith::probe {

struct TProbeOptions {
    bool help = false;
    bool json = false;
    std::optional<char> drive; // one drive; all listed drives when empty
    std::optional<char> eject; // tray commands instead of a report
    std::optional<char> close;
    std::optional<std::string> emulated; // machine name; empty optional: the real drives
    bool listMachines = false;
};

enum ProbeExit : int {
    kExitOk = 0,
    kExitRefused = 1, // a tray button refused the drive
    kExitUsage = 2,
    kExitNoSuchDrive = 3, // the letter is no listed optical drive
    kExitOpenRefused = 4, // the drive could not be opened
};

// Parses the arguments (without the program name); an error text on bad usage.
std::optional<TProbeOptions> ParseProbeArguments(const std::vector<std::string>& args,
                                                 std::string& error);

std::string ProbeUsage(const std::string& program);

// Where a drive letter's device lives on this system, shown beside the letter.
using TDevicePathOf = std::function<std::string(char letter)>;

// Runs the probe over os; answers the exit code.
int RunProbe(const TProbeOptions& options, TOsServices& os, const TDevicePathOf& devicePathOf,
             std::ostream& out, std::ostream& err);

} // namespace quenlith::probe
