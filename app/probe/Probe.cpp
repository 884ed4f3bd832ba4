#include "Probe.h"

#include "ArvDiscLib.h"
#include "HeadlessView.h"
#include "JsonWriter.h"
#include "MediaProfiles.h"
#include "Unit1.h"
#include "emulated/Presets.h"

#include <array>
#include <cctype>

namespace quenlith::probe {
namespace {

using app::TForm1;
using app::THeadlessView;

char UpperLetter(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::optional<char> DriveLetterArgument(const std::string& value) {
    // "E", "e", "E:" and "E:\" all name drive E.
    std::optional<char> letter =
        value.size() == 1 ? LetterOfRoot(value + ":") : LetterOfRoot(value);
    return letter ? std::optional<char>(UpperLetter(*letter)) : std::nullopt;
}

struct TDriveProbe {
    char letter = 0;
    std::string entry;
    std::string label;
    std::string device;
    bool opened = false;
    std::array<std::string, 4> fields; // Vendor, Product ID, Revision, Vendor Spec
    std::vector<std::string> capabilities;
    std::optional<std::string> mediaMessage; // "The Inserted media is ..."
    std::optional<std::string> mediaName;
    std::optional<std::string> mediaError; // "Error reading disc!"
    std::optional<TDvdPhysicalFormat> dvd;
};

std::string LabelOf(const std::string& entry) {
    // The entry is letter, ": [", label, "]".
    if (entry.size() < 5) {
        return {};
    }
    return entry.substr(4, entry.size() - 5);
}

TDriveProbe ProbeDrive(TOsServices& os, THeadlessView& view, TForm1& form, const std::string& entry,
                       const TDevicePathOf& devicePathOf) {
    TDriveProbe p;
    p.letter = entry[0];
    p.entry = entry;
    p.label = LabelOf(entry);
    p.device = devicePathOf(p.letter);
    {
        TOwnedDriveHandle check(os, OpenDriveHandle(os, p.letter));
        p.opened = check.valid();
    }
    if (!p.opened) {
        return p;
    }

    view.TypeDriveText(entry);
    form.cbdriveChange();
    p.fields = view.edits;
    p.capabilities = view.listLines;

    view.information.clear();
    const bool analysed =
        app::RunHandler([&] { form.BitBtn3Click(); }, "probe",
                        [&](const app::TErrorBox& box) { p.mediaError = box.text; });
    if (analysed && !view.information.empty()) {
        p.mediaMessage = view.information.back();
        p.mediaName = p.mediaMessage->substr(app::kInsertedMediaPrefix.size());
    }

    TOwnedDriveHandle device(os, OpenDriveHandle(os, p.letter));
    if (IsDvdMediaType(GetMediaType(os, device.get()))) {
        std::array<BYTE, kDvdStructureResponseSize> response{};
        if (TArvDiscLib(os).ReadDVDPhysicalFormat(device.get(), response)) {
            p.dvd = DecodeDvdPhysicalFormat(response);
        }
    }
    return p;
}

const std::array<const char*, 4> kFieldNames = {"Vendor", "Product ID", "Revision", "Vendor Spec"};
const std::array<const char*, 4> kFieldKeys = {"vendor", "productId", "revision", "vendorSpec"};

std::vector<std::pair<const char*, std::string>> DvdFields(const TDvdPhysicalFormat& f) {
    return {{"Book Type", f.bookType},        {"Disc Size", f.discSize},
            {"Maximum Rate", f.maximumRate},  {"Number of Layers", f.numberOfLayers},
            {"Layer Type", f.layerType},      {"Linear Density", f.linearDensity},
            {"Track Density", f.trackDensity}};
}

std::string KeyOf(const char* name) {
    // "Book Type" -> "bookType"
    std::string key;
    bool upper = false;
    for (const char* c = name; *c; ++c) {
        if (*c == ' ') {
            upper = true;
        } else {
            const auto u = static_cast<unsigned char>(*c);
            key += static_cast<char>(upper ? std::toupper(u) : key.empty() ? std::tolower(u) : u);
            upper = false;
        }
    }
    return key;
}

void PrintPlain(const std::vector<TDriveProbe>& drives, std::ostream& out) {
    if (drives.empty()) {
        out << "No optical drive.\n";
    }
    for (const TDriveProbe& d : drives) {
        out << d.entry << "  (" << d.device << ")\n";
        if (!d.opened) {
            out << "  Cannot open " << d.device << ": access refused or no device.\n";
            continue;
        }
        for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
            out << "  " << kFieldNames[i] << ": \"" << d.fields[i] << "\"\n";
        }
        out << "  Drive Capabilities:\n";
        for (const std::string& line : d.capabilities) {
            out << "    " << line << "\n";
        }
        out << "  Analyse Disk: " << (d.mediaMessage ? *d.mediaMessage : d.mediaError.value_or(""))
            << "\n";
        if (d.dvd) {
            out << "  DVD Physical Format:\n";
            for (const auto& [name, value] : DvdFields(*d.dvd)) {
                out << "    " << name << ": " << value << "\n";
            }
        }
    }
}

std::string JsonOrNull(const std::optional<std::string>& text) {
    return text ? JsonString(*text) : "null";
}

void PrintJson(const std::vector<TDriveProbe>& drives, std::ostream& out) {
    out << "{\"drives\": [";
    for (std::size_t n = 0; n < drives.size(); ++n) {
        const TDriveProbe& d = drives[n];
        out << (n ? ",\n  " : "\n  ") << "{\"letter\": " << JsonString(std::string(1, d.letter))
            << ", \"entry\": " << JsonString(d.entry) << ", \"label\": " << JsonString(d.label)
            << ", \"device\": " << JsonString(d.device)
            << ", \"opened\": " << (d.opened ? "true" : "false");
        if (d.opened) {
            for (std::size_t i = 0; i < kFieldKeys.size(); ++i) {
                out << ", \"" << kFieldKeys[i] << "\": " << JsonString(d.fields[i]);
            }
            out << ", \"capabilities\": [";
            for (std::size_t i = 0; i < d.capabilities.size(); ++i) {
                out << (i ? ", " : "") << JsonString(d.capabilities[i]);
            }
            out << "], \"medium\": " << JsonOrNull(d.mediaName)
                << ", \"mediumMessage\": " << JsonOrNull(d.mediaMessage)
                << ", \"mediumError\": " << JsonOrNull(d.mediaError) << ", \"dvdPhysicalFormat\": ";
            if (d.dvd) {
                out << "{";
                bool first = true;
                for (const auto& [name, value] : DvdFields(*d.dvd)) {
                    out << (first ? "" : ", ") << JsonString(KeyOf(name)) << ": "
                        << JsonString(value);
                    first = false;
                }
                out << "}";
            } else {
                out << "null";
            }
        }
        out << "}";
    }
    out << (drives.empty() ? "]}\n" : "\n]}\n");
}

int RunTray(const TProbeOptions& options, TOsServices& os, std::ostream& out, std::ostream& err) {
    THeadlessView view;
    TForm1 form(os, view);
    const bool eject = options.eject.has_value();
    const char letter = eject ? *options.eject : *options.close;
    view.TypeDriveText(std::string(1, letter) + ":");
    std::string refusal;
    const bool done =
        app::RunHandler([&] { eject ? form.BitBtn1Click() : form.BitBtn2Click(); }, "probe",
                        [&](const app::TErrorBox& box) { refusal = box.text; });
    if (!done) {
        err << letter << ": " << refusal << "\n";
        return kExitRefused;
    }
    if (options.json) {
        out << "{\"drive\": " << JsonString(std::string(1, letter))
            << ", \"command\": " << JsonString(eject ? "eject" : "close") << ", \"sent\": true}\n";
    } else {
        out << (eject ? "Eject" : "Close") << " sent to " << letter << ":\n";
    }
    return kExitOk;
}

} // namespace

std::optional<TProbeOptions> ParseProbeArguments(const std::vector<std::string>& args,
                                                 std::string& error) {
    TProbeOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto letterAfter = [&](const char* name) -> std::optional<char> {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a drive letter";
                return std::nullopt;
            }
            std::optional<char> letter = DriveLetterArgument(args[++i]);
            if (!letter) {
                error = std::string(name) + ": not a drive letter: " + args[i];
            }
            return letter;
        };
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--json") {
            options.json = true;
        } else if (a == "--emulated") {
            options.emulated = "";
        } else if (a.rfind("--emulated=", 0) == 0) {
            options.emulated = a.substr(11);
        } else if (a == "--machines") {
            options.listMachines = true;
        } else if (a == "--drive" || a == "--eject" || a == "--close") {
            std::optional<char> letter = letterAfter(a.c_str());
            if (!letter) {
                return std::nullopt;
            }
            (a == "--drive"   ? options.drive
             : a == "--eject" ? options.eject
                              : options.close) = letter;
        } else {
            error = "unknown argument: " + a;
            return std::nullopt;
        }
    }
    if (options.eject && options.close) {
        error = "--eject and --close exclude each other";
        return std::nullopt;
    }
    return options;
}

std::string ProbeUsage(const std::string& program) {
    std::string usage =
        "Usage: " + program +
        " [options]\n"
        "Lists the optical drives and, for each, prints what the window shows: the INQUIRY\n"
        "identification, the capability report, the medium named by \"Analyse Disk\" and, for\n"
        "DVD media, the decoded physical format information.\n\n"
        "Options:\n"
        "  --drive X        only drive X\n"
        "  --eject X        open the tray of drive X, as the \"Eject\" button does\n"
        "  --close X        close the tray of drive X, as the \"Close\" button does\n"
        "  --json           print JSON instead of text\n"
        "  --emulated[=M]   use an emulated machine instead of the real drives (see --machines)\n"
        "  --machines       list the emulated machines\n"
        "  --help           this text\n\n"
        "Exit codes: 0 done; 1 a tray command refused the drive; 2 bad usage;\n"
        "3 no such optical drive; 4 a drive could not be opened.\n";
    return usage;
}

int RunProbe(const TProbeOptions& options, TOsServices& os, const TDevicePathOf& devicePathOf,
             std::ostream& out, std::ostream& err) {
    if (options.eject || options.close) {
        return RunTray(options, os, out, err);
    }
    THeadlessView view;
    TForm1 form(os, view);
    form.Refresh1Click();

    std::vector<std::string> entries;
    for (const std::string& entry : view.driveItems) {
        if (!options.drive || UpperLetter(entry[0]) == *options.drive) {
            entries.push_back(entry);
        }
    }
    if (options.drive && entries.empty()) {
        err << "No optical drive " << *options.drive << ":\n";
        return kExitNoSuchDrive;
    }
    std::vector<TDriveProbe> drives;
    int exit = kExitOk;
    for (const std::string& entry : entries) {
        drives.push_back(ProbeDrive(os, view, form, entry, devicePathOf));
        if (!drives.back().opened) {
            err << "Cannot open " << drives.back().device << " (drive " << entry[0]
                << "): access refused or no device\n";
            exit = kExitOpenRefused;
        }
    }
    if (options.json) {
        PrintJson(drives, out);
    } else {
        PrintPlain(drives, out);
    }
    return exit;
}

} // namespace quenlith::probe
