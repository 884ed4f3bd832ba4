// The design of Form1: every control with its place, size, text and font, as one table that
// each window shell builds its widgets from.
#pragma once

#include "Unit1.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quenlith::app::design {

inline constexpr int kClientWidth = 594;
inline constexpr int kClientHeight = 602;
inline constexpr int kPictureWidth = 595;
inline constexpr int kPictureHeight = 601;
// The window's region: an ellipse with left 1, top 1, right 595, bottom 600 (exclusive).
inline constexpr int kRegionLeft = 1;
inline constexpr int kRegionTop = 1;
inline constexpr int kRegionRight = 595;
inline constexpr int kRegionBottom = 600;

inline constexpr int kListColumns = 3;
inline constexpr int kListItemHeight = 13;

enum class TKind { Picture, Shape, Label, ComboBox, Button, Edit, ListBox };

enum class TControl {
    Image1,
    Shape1,
    Label5,
    Label1,
    Label2,
    Label3,
    Label4,
    Label6,
    Label7,
    Label8,
    Label9,
    cbdrive,
    BitBtn1,
    BitBtn2,
    BitBtn3,
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Button1,
    ListBox1,
};

struct TFontSpec {
    std::string_view face;
    int pixelHeight; // character height in pixels at 96 dpi
    bool bold;
    bool italic;
    bool underline;
    std::uint32_t rgb; // 0xRRGGBB
    int charset;       // 0 ANSI_CHARSET, 177 HEBREW_CHARSET
};

inline constexpr TFontSpec kWindowFont{"Tahoma", 11, false, false, false, 0x000000, 177};

struct TControlSpec {
    TControl id;
    std::string_view name;
    TKind kind;
    int left, top, width, height;
    std::string_view text;
    TFontSpec font;
    bool transparent; // labels: draw only the text over what lies below
    bool enabled;
    int tabOrder; // -1 for painted controls
};

// In the order the painted ones lie from bottom to top; the windowed ones lie above them all.
inline constexpr std::array<TControlSpec, 21> kControls = {{
    {TControl::Image1, "Image1", TKind::Picture, 0, 0, kPictureWidth, kPictureHeight, "",
     kWindowFont, false, true, -1},
    {TControl::Shape1, "Shape1", TKind::Shape, 104, 416, 385, 89, "", kWindowFont, false, true, -1},
    {TControl::Label5,
     "Label5",
     TKind::Label,
     184,
     517,
     217,
     19,
     kMakerWebAddress,
     {"Tahoma", 16, true, false, true, 0x808080, 0},
     true,
     true,
     -1},
    {TControl::Label1, "Label1", TKind::Label, 32, 248, 34, 13, "Vendor", kWindowFont, true, true,
     -1},
    {TControl::Label2, "Label2", TKind::Label, 32, 286, 51, 13, "Product ID", kWindowFont, true,
     true, -1},
    {TControl::Label3, "Label3", TKind::Label, 424, 246, 40, 13, "Revision", kWindowFont, true,
     true, -1},
    {TControl::Label4, "Label4", TKind::Label, 424, 286, 60, 13, "Vendor Spec", kWindowFont, true,
     true, -1},
    {TControl::Label6,
     "Label6",
     TKind::Label,
     121,
     419,
     98,
     13,
     "Drive Capabilities",
     {"Tahoma", 11, true, true, false, 0x000000, 177},
     true,
     true,
     -1},
    {TControl::Label7,
     "Label7",
     TKind::Label,
     218,
     84,
     120,
     13,
     "Select CD / DVD drive",
     {"Tahoma", 11, true, false, false, 0x000000, 177},
     false,
     true,
     -1},
    {TControl::Label8,
     "Label8",
     TKind::Label,
     212,
     31,
     168,
     38,
     kFormCaption,
     {"Georgia", 32, false, false, false, 0x000000, 0},
     true,
     false,
     -1},
    {TControl::Label9,
     "Label9",
     TKind::Label,
     256,
     552,
     72,
     16,
     kVersionText,
     {"Tahoma", 13, false, false, false, 0x000000, 177},
     false,
     true,
     -1},
    {TControl::cbdrive, "cbdrive", TKind::ComboBox, 216, 100, 161, 21, "", kWindowFont, false, true,
     0},
    {TControl::BitBtn1, "BitBtn1", TKind::Button, 232, 136, 65, 33, "Eject", kWindowFont, false,
     true, 1},
    {TControl::BitBtn2, "BitBtn2", TKind::Button, 304, 136, 73, 33, "Close", kWindowFont, false,
     true, 2},
    {TControl::BitBtn3, "BitBtn3", TKind::Button, 144, 136, 81, 33, "Analyse Disk", kWindowFont,
     false, true, 3},
    {TControl::Edit1, "Edit1", TKind::Edit, 32, 260, 137, 21, "", kWindowFont, false, true, 4},
    {TControl::Edit2, "Edit2", TKind::Edit, 32, 300, 137, 21, "", kWindowFont, false, true, 5},
    {TControl::Edit3, "Edit3", TKind::Edit, 424, 260, 137, 21, "", kWindowFont, false, true, 6},
    {TControl::Edit4, "Edit4", TKind::Edit, 424, 300, 137, 21, "", kWindowFont, false, true, 7},
    {TControl::Button1, "Button1", TKind::Button, 384, 136, 57, 33, "Exit", kWindowFont, false,
     true, 8},
    {TControl::ListBox1, "ListBox1", TKind::ListBox, 113, 432, 368, 65, "", kWindowFont, false,
     true, 9},
}};

constexpr const TControlSpec& Spec(TControl id) {
    for (const TControlSpec& spec : kControls) {
        if (spec.id == id) {
            return spec;
        }
    }
    return kControls[0];
}

// Shape1: white outline of 1 pixel, white fill, corners rounded with a 22 x 22 ellipse.
inline constexpr int kShapeCornerDiameter = 22;
// ListBox1: each column a third of the width, truncated.
inline constexpr int kListColumnWidth = 368 / kListColumns;
static_assert(kListColumnWidth == 122);

} // namespace quenlith::app::design
