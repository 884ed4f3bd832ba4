// The native window under Wine: real controls queried through their messages, the region,
// the painted controls' mouse handling, over the emulated machine. Boxes, the caption press
// and the web page go through recording seams.
#include "ErrorBox.h"
#include "FormDesign.h"
#include "Win32MainWindow.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

#include <windows.h>

using quenlith::app::ApplicationTitleOf;
using quenlith::app::kMakerWebAddress;
using quenlith::app::TCursor;
using quenlith::app::TErrorBox;
namespace design = quenlith::app::design;
namespace emulated = quenlith::emulated;
using namespace quenlith::app::win32;
using quenlith::app::design::TControl;
namespace presets = quenlith::emulated::presets;

namespace {

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return CharUpperA(name);
}

class Win32Window : public ::testing::Test {
protected:
    void SetUp() override {
        os = std::make_unique<emulated::TEmulatedMachine>(presets::StandardMachine());
        TWin32Seams seams;
        seams.showError = [this](HWND, const TErrorBox& box) { errors.push_back(box); };
        seams.showInformation = [this](HWND, const std::string& text) {
            information.push_back(text);
        };
        seams.releaseCapture = [this] { steps.emplace_back("ReleaseCapture"); };
        seams.sendCaptionPress = [this](HWND) { steps.emplace_back("WM_NCLBUTTONDOWN HTCAPTION"); };
        seams.openAddress = [this](const std::string& a) { opened.push_back(a); };
        window = std::make_unique<TWin32MainWindow>(*os, GetModuleHandleA(nullptr), seams);
        window->Create();
        window->Show();
    }
    void TearDown() override {
        window.reset();
        EXPECT_TRUE(os->Clean()) << os->Report();
    }
    HWND C(TControl id) { return window->Control(id); }
    void Press(UINT message, POINT at) {
        SendMessageA(window->Handle(), message, 0, MAKELPARAM(at.x, at.y));
        SendMessageA(window->Handle(), message == WM_LBUTTONDOWN ? WM_LBUTTONUP : message + 1, 0,
                     MAKELPARAM(at.x, at.y));
    }
    static POINT Centre(RECT r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    std::unique_ptr<emulated::TEmulatedMachine> os;
    std::unique_ptr<TWin32MainWindow> window;
    std::vector<TErrorBox> errors;
    std::vector<std::string> information, steps, opened;
};

TEST_F(Win32Window, ControlsStandWhereTheDesignPutsThem) {
    for (const design::TControlSpec& spec : design::kControls) {
        if (spec.tabOrder < 0) {
            continue;
        }
        HWND c = C(spec.id);
        ASSERT_TRUE(IsWindow(c)) << spec.name;
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window->Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, spec.left) << spec.name;
        EXPECT_EQ(r.top, spec.top) << spec.name;
        EXPECT_EQ(r.right - r.left, spec.width) << spec.name;
        if (spec.kind != design::TKind::ComboBox) {
            EXPECT_EQ(r.bottom - r.top, spec.height) << spec.name;
        }
        if (spec.kind == design::TKind::Button) {
            EXPECT_EQ(TextOf(c), spec.text) << spec.name;
            EXPECT_EQ(ClassOf(c), "BUTTON");
        }
    }
    EXPECT_EQ(ClassOf(C(TControl::cbdrive)), "COMBOBOX");
    EXPECT_EQ(GetWindowLongA(C(TControl::cbdrive), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_TRUE(GetWindowLongA(C(TControl::ListBox1), GWL_STYLE) & LBS_MULTICOLUMN);
    EXPECT_EQ(SendMessageA(C(TControl::ListBox1), LB_GETITEMHEIGHT, 0, 0), 13);
    EXPECT_EQ(ClassOf(C(TControl::Edit1)), "EDIT");
    // Border and caption gone, the designed outer size kept.
    const LONG style = GetWindowLongA(window->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    RECT designed{0, 0, design::kClientWidth, design::kClientHeight};
    AdjustWindowRectEx(&designed, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE,
                       0);
    RECT client{};
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, designed.right - designed.left);
    EXPECT_EQ(client.bottom, designed.bottom - designed.top);
    EXPECT_EQ(TextOf(window->Handle()), "Quenlith");
}

TEST_F(Win32Window, RegionIsTheEllipse) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 297, 300));
    EXPECT_TRUE(PtInRegion(region, 2, 300));
    EXPECT_TRUE(PtInRegion(region, 297, 2));
    for (POINT corner : {POINT{0, 0}, POINT{10, 10}, POINT{590, 5}, POINT{5, 598}, POINT{593, 600},
                         POINT{0, 300}}) {
        EXPECT_FALSE(PtInRegion(region, corner.x, corner.y)) << corner.x << "," << corner.y;
    }
    DeleteObject(region);
}

TEST_F(Win32Window, TheDrivesFillTheRealControls) {
    HWND combo = C(TControl::cbdrive);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(TextOf(combo), "D: [DATA]");
    EXPECT_EQ(TextOf(C(TControl::Edit1)), "VIRTUAL ");
    EXPECT_EQ(TextOf(C(TControl::Edit3)), "1.02");
    HWND list = C(TControl::ListBox1);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 14);
    char line[64] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_STREQ(line, "Read CD-R");
    RECT second{}, sixth{};
    SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    SendMessageA(list, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&sixth));
    EXPECT_EQ(second.top, 13);
    EXPECT_EQ(sixth.left, 122);

    // Picking the second entry as the user would.
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    SendMessageA(window->Handle(), WM_COMMAND,
                 MAKEWPARAM(TWin32MainWindow::ControlId(TControl::cbdrive), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(TextOf(C(TControl::Edit2)), "CD-ROM VC-24    ");
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(window->ApplicationCursor(), TCursor::crDefault);
}

TEST_F(Win32Window, HourglassWhileAReportWaits) {
    std::vector<TCursor> during;
    os->onProcessMessages = [&] { during.push_back(window->ApplicationCursor()); };
    SetWindowTextA(C(TControl::cbdrive), "E");
    SendMessageA(window->Handle(), WM_COMMAND,
                 MAKEWPARAM(TWin32MainWindow::ControlId(TControl::cbdrive), CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(C(TControl::cbdrive)));
    ASSERT_FALSE(during.empty());
    EXPECT_EQ(during.front(), TCursor::crHourGlass);
    EXPECT_EQ(window->ApplicationCursor(), TCursor::crDefault);
}

TEST_F(Win32Window, BoxesShowTheHandlersMessages) {
    SendMessageA(C(TControl::BitBtn3), BM_CLICK, 0, 0);
    EXPECT_EQ(information, std::vector<std::string>{"The Inserted media is DVD-ROM"});
    SetWindowTextA(C(TControl::cbdrive), "C");
    SendMessageA(C(TControl::BitBtn2), BM_CLICK, 0, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Cannot access drive.");
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(errors[0].caption, ApplicationTitleOf(path));
}

TEST_F(Win32Window, DraggingByThePictureAndTheTitleOnly) {
    struct {
        const char* where;
        POINT at;
        bool drags;
    } cases[] = {{"picture", {60, 200}, true},
                 {"disabled title", Centre(window->PaintedRect(TControl::Label8)), true},
                 {"Vendor label", Centre(window->PaintedRect(TControl::Label1)), false},
                 {"version label", Centre(window->PaintedRect(TControl::Label9)), false},
                 {"white panel", {200, 470}, false}};
    for (auto c : cases) {
        for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
            steps.clear();
            Press(button, c.at);
            const std::vector<std::string> drag = {"ReleaseCapture", "WM_NCLBUTTONDOWN HTCAPTION"};
            EXPECT_EQ(steps, c.drags ? drag : std::vector<std::string>{})
                << c.where << " " << button;
        }
    }
}

TEST_F(Win32Window, TheLinkShowsTheHandAndOpensTheAddress) {
    const POINT link = Centre(window->PaintedRect(TControl::Label5));
    SendMessageA(window->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(link.x, link.y));
    EXPECT_EQ(window->ApplicationCursor(), TCursor::crHandPoint);
    Press(WM_LBUTTONDOWN, link);
    EXPECT_EQ(opened, std::vector<std::string>{std::string(kMakerWebAddress)});
    SendMessageA(window->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 200));
    EXPECT_EQ(window->ApplicationCursor(), TCursor::crDefault);
}

TEST_F(Win32Window, ExitDestroysTheWindow) {
    HWND handle = window->Handle();
    SendMessageA(C(TControl::Button1), BM_CLICK, 0, 0);
    EXPECT_FALSE(window->Alive());
    EXPECT_FALSE(IsWindow(handle));
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)); // the loop ends
}

} // namespace
