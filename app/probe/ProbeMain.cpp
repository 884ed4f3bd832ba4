// quenlith-probe: the window's drive operations from the command line.
#include "DriveRoutines.h"
#include "PlatformServices.h"
#include "Probe.h"
#include "emulated/Presets.h"

#include <iostream>

using namespace quenlith;

int main(int argc, char** argv) {
    const std::string program = argc > 0 ? argv[0] : "quenlith-probe";
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string error;
    std::optional<probe::TProbeOptions> options = probe::ParseProbeArguments(args, error);
    if (!options) {
        std::cerr << program << ": " << error << "\n" << probe::ProbeUsage(program);
        return probe::kExitUsage;
    }
    if (options->help) {
        std::cout << probe::ProbeUsage(program);
        return probe::kExitOk;
    }
    const auto& machines = emulated::presets::NamedMachines();
    if (options->listMachines) {
        for (const auto& m : machines) {
            std::cout << m.name << ": " << m.summary << "\n";
        }
        return probe::kExitOk;
    }
    if (options->emulated) {
        const std::string name =
            options->emulated->empty() ? std::string(machines.front().name) : *options->emulated;
        for (const auto& m : machines) {
            if (m.name == name) {
                emulated::TEmulatedMachine machine(m.make());
                return probe::RunProbe(*options, machine, &DevicePathOf, std::cout, std::cerr);
            }
        }
        std::cerr << program << ": no emulated machine named " << name << " (see --machines)\n";
        return probe::kExitUsage;
    }
    TPlatformServices platform = MakePlatformServices(error);
    if (!platform.services) {
        std::cerr << program << ": " << error << "; use --emulated\n";
        return probe::kExitUsage;
    }
    return probe::RunProbe(*options, *platform.services, platform.devicePathOf, std::cout,
                           std::cerr);
}
