// cbdriveChange: the four fields, the list box and the cursor.
#include "FormFixture.h"

using namespace quenlith;
using namespace quenlith::app;
using namespace quenlith::app::testing;

namespace {

TEST(Identification, FieldCutsAndTreatments) {
    struct {
        const char* name;
        std::string text; // INQUIRY bytes 8 on
        std::array<std::string, 4> edits;
    } cases[] = {
        {"padding blanks stay in Vendor and Product ID",
         "ABCD    PRODUCT         1.00VENDOR SPEC",
         {"ABCD    ", "PRODUCT         ", "1.00", "VENDOR SPEC"}},
        {"revision: a blank and three characters",
         "VENDOR  PRODUCT ID       1.2",
         {"VENDOR  ", "PRODUCT ID      ", "1.2", ""}},
        {"revision: high character at the end becomes a trailing blank",
         "VENDOR  PRODUCT ID      1.2\xFF",
         {"VENDOR  ", "PRODUCT ID      ", "1.2 ", ""}},
        {"revision: digit, tab, digit, blank",
         "VENDOR  PRODUCT ID      1\t2 ",
         {"VENDOR  ", "PRODUCT ID      ", "1 2", ""}},
        {"vendor spec trimmed only, code 200 kept",
         "VENDOR  PRODUCT ID      1.00  A\xC8\x01Z   ",
         {"VENDOR  ", "PRODUCT ID      ", "1.00", "A\xC8\x01Z"}},
        {"30 characters",
         "VENDOR  PRODUCT ID      1.00 X",
         {"VENDOR  ", "PRODUCT ID      ", "1.00", "X"}},
        {"short text cuts the field it ends in", "VEND", {"VEND", "", "", ""}},
        {"past 48 characters nothing more",
         "VENDOR  PRODUCT ID      1.00" + std::string(20, 'S') + "TAIL",
         {"VENDOR  ", "PRODUCT ID      ", "1.00", std::string(20, 'S')}},
        {"empty text", "", {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        TMachineDescription machine = presets::StandardMachine();
        machine.Drive('D')->mmc->inquiry = InquiryWithText(c.text);
        TFormFixture f(machine);
        f.Select("D: [DATA]");
        EXPECT_EQ(f.view.edits, c.edits) << c.name;
        // The report does not depend on the identification.
        EXPECT_EQ(f.view.listLines.size(), 14u) << c.name;
        f.ExpectClean();
    }
}

TEST(Identification, ReplaceControlCharsByCode) {
    struct {
        unsigned code;
        bool blank;
    } cases[] = {{1, true},    {9, true},   {31, true},  {32, false}, {65, false},
                 {127, false}, {128, true}, {200, true}, {255, true}};
    for (auto c : cases) {
        const std::string text = {'a', static_cast<char>(c.code), 'b'};
        EXPECT_EQ(ReplaceControlChars(text), c.blank ? "a b" : text) << c.code;
    }
    // Code 0 stays, and so does the length.
    EXPECT_EQ(ReplaceControlChars(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Identification, ReportStartingWithCrLfGivesAnEmptyFirstItem) {
    TMachineDescription machine = presets::StandardMachine();
    machine.Drive('D')->mmc->capabilitiesPage =
        emulated::MakeCapabilitiesPage(0x02, 0, 1764, 512, 0);
    TFormFixture f(machine);
    f.Select("D: [DATA]");
    EXPECT_EQ(f.view.listLines,
              (std::vector<std::string>{"", "Read CD-RW", "Device Buffer: 512k",
                                        "Max Read Speed: 10x", "Max Write Speed: 0x"}));
}

TEST(Identification, CursorAndFieldsOnEveryPath) {
    {
        TFormFixture f;
        f.Select("E: []");
        EXPECT_EQ(f.view.cursors, (std::vector<TCursor>{TCursor::crHourGlass, TCursor::crDefault}));
        EXPECT_EQ(f.view.editOrder, (std::vector<int>{1, 2, 3, 4}));
        f.ExpectClean();
    }
    {
        // Empty selector: the failure path clears Edit1, Edit3, Edit4, Edit2, opens nothing.
        TFormFixture f;
        f.view.listLines = {"old"};
        f.Select("");
        EXPECT_EQ(f.view.cursors, (std::vector<TCursor>{TCursor::crHourGlass, TCursor::crDefault,
                                                        TCursor::crDefault}));
        EXPECT_EQ(f.view.editOrder, (std::vector<int>{1, 3, 4, 2}));
        EXPECT_EQ(f.os.CountCalls("CreateFileA"), 0u);
        EXPECT_TRUE(f.view.listLines.empty());
    }
    {
        // A drive that never becomes ready: fields filled, list emptied, default cursor.
        TMachineDescription machine = presets::StandardMachine();
        machine.Drive('D')->mmc->failingCalls = 11; // INQUIRY and the ten attempts
        TFormFixture f(machine);
        f.view.listLines = {"old"};
        f.Select("D: [DATA]");
        EXPECT_EQ(f.view.edits[0], "");
        EXPECT_TRUE(f.view.listLines.empty());
        EXPECT_EQ(f.view.cursor, TCursor::crDefault);
        f.ExpectClean();
    }
}

TEST(Identification, TypedHardDiskLetterShowsItsAnswerButNoReport) {
    TFormFixture f;
    f.Select("c");
    EXPECT_EQ(f.view.edits[0], "ATA     ");
    EXPECT_EQ(f.view.edits[1], "VIRTUAL DISK 1TB");
    EXPECT_TRUE(f.view.listLines.empty());
    EXPECT_EQ(f.os.CountCalls("CreateFileA"), 1u); // INQUIRY only: OpenDrive refuses
    EXPECT_EQ(f.os.CountCalls("Sleep"), 0u);
    f.ExpectClean();
}

TEST(Identification, UserWithoutRightsGetsFieldsButNoReport) {
    TFormFixture f(presets::StandardUserMachine());
    f.Select("D: [DATA]");
    EXPECT_EQ(f.view.edits[0], "VIRTUAL ");
    EXPECT_TRUE(f.view.listLines.empty());
    EXPECT_EQ(f.view.cursor, TCursor::crDefault);
    f.ExpectClean();
}

} // namespace
