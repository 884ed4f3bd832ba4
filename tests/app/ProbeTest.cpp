#include "Probe.h"
#include "DriveRoutines.h"
#include "emulated/EmulatedMachine.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quenlith;
using namespace quenlith::probe;
using namespace quenlith::emulated;

namespace {

struct TProbeRun {
    int exit = -1;
    std::string out, err;
    bool clean = false;
};

TProbeRun Probe(const std::vector<std::string>& args,
                TMachineDescription machine = presets::StandardMachine()) {
    std::string error;
    std::optional<TProbeOptions> options = ParseProbeArguments(args, error);
    EXPECT_TRUE(options) << error;
    TEmulatedMachine os(std::move(machine));
    std::ostringstream out, err;
    TProbeRun run;
    run.exit = RunProbe(*options, os, &DevicePathOf, out, err);
    run.out = out.str();
    run.err = err.str();
    run.clean = os.Clean();
    return run;
}

TEST(Probe, PlainReportOfTheStandardMachine) {
    TProbeRun run = Probe({});
    EXPECT_EQ(run.exit, kExitOk);
    EXPECT_TRUE(run.clean);
    EXPECT_EQ(run.out, R"(D: [DATA]  (\\.\D:)
  Vendor: "VIRTUAL "
  Product ID: "DVD-RW VX-2040  "
  Revision: "1.02"
  Vendor Spec: "2024/05/17 SATA"
  Drive Capabilities:
    Read CD-R
    Read CD-RW
    Read Method 2
    Read DVD-ROM
    Read DVD-R / DVD-RW
    Read DVD-RAM
    Write CD-R
    Write CD-RW
    Write Test
    Write DVD-R / DVD-RW
    Write DVD-RAM
    Device Buffer: 2048k
    Max Read Speed: 48x
    Max Write Speed: 40x
  Analyse Disk: The Inserted media is DVD-ROM
  DVD Physical Format:
    Book Type: DVD-ROM
    Disc Size: 120mm
    Maximum Rate: 10.08 Mbps
    Number of Layers: 0
    Layer Type: Layer contains embossed data
    Linear Density: 0.267 um/bit
    Track Density: 0.74 um/track
E: []  (\\.\E:)
  Vendor: "VIRTUAL "
  Product ID: "CD-ROM VC-24    "
  Revision: "3.10"
  Vendor Spec: ""
  Drive Capabilities:
    Read CD-R
    Read CD-RW
    Read Method 2
    Device Buffer: 128k
    Max Read Speed: 24x
    Max Write Speed: 0x
  Analyse Disk: The Inserted media is No Current Profile
)");
}

TEST(Probe, JsonReport) {
    TProbeRun run = Probe({"--json", "--drive", "e:"});
    EXPECT_EQ(run.exit, kExitOk);
    EXPECT_EQ(run.out,
              "{\"drives\": [\n  {\"letter\": \"E\", \"entry\": \"E: []\", \"label\": \"\", "
              "\"device\": \"\\\\\\\\.\\\\E:\", \"opened\": true, \"vendor\": \"VIRTUAL \", "
              "\"productId\": \"CD-ROM VC-24    \", \"revision\": \"3.10\", \"vendorSpec\": \"\", "
              "\"capabilities\": [\"Read CD-R\", \"Read CD-RW\", \"Read Method 2\", "
              "\"Device Buffer: 128k\", \"Max Read Speed: 24x\", \"Max Write Speed: 0x\"], "
              "\"medium\": \"No Current Profile\", \"mediumMessage\": \"The Inserted media is No "
              "Current Profile\", \"mediumError\": null, \"dvdPhysicalFormat\": null}\n]}\n");

    TProbeRun dvd = Probe({"--json", "--drive", "D"});
    EXPECT_NE(dvd.out.find("\"dvdPhysicalFormat\": {\"bookType\": \"DVD-ROM\", \"discSize\": "
                           "\"120mm\", \"maximumRate\": \"10.08 Mbps\", \"numberOfLayers\": \"0\""),
              std::string::npos)
        << dvd.out;

    EXPECT_EQ(Probe({"--json"}, presets::NoOpticalMachine()).out, "{\"drives\": []}\n");
}

TEST(Probe, ErrorsAndExitCodes) {
    TProbeRun missing = Probe({"--drive", "Q"});
    EXPECT_EQ(missing.exit, kExitNoSuchDrive);
    EXPECT_EQ(missing.err, "No optical drive Q:\n");

    TMachineDescription refused = presets::StandardMachine();
    refused.Drive('E')->openFails = true;
    TProbeRun run = Probe({}, refused);
    EXPECT_EQ(run.exit, kExitOpenRefused);
    EXPECT_NE(run.err.find("Cannot open \\\\.\\E:"), std::string::npos);
    EXPECT_NE(run.out.find("D: [DATA]"), std::string::npos); // the other drive still reported

    TMachineDescription unknownMedium = presets::StandardMachine();
    unknownMedium.Drive('D')->mmc->currentProfile = 0x40;
    EXPECT_NE(Probe({"--drive", "D"}, unknownMedium).out.find("Analyse Disk: Error reading disc!"),
              std::string::npos);

    TProbeRun eject = Probe({"--eject", "C"});
    EXPECT_EQ(eject.exit, kExitRefused);
    EXPECT_EQ(eject.err, "C: Cannot eject drive.\n");
    TProbeRun close = Probe({"--close", "e"});
    EXPECT_EQ(close.exit, kExitOk);
    EXPECT_EQ(close.out, "Close sent to E:\n");
    EXPECT_TRUE(close.clean);
}

TEST(Probe, ArgumentErrors) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"--drive"}, {"--drive", "12"}, {"--bogus"}, {"--eject", "D", "--close", "D"}}) {
        std::string error;
        EXPECT_FALSE(ParseProbeArguments(args, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
