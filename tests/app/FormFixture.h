// A form over an emulated machine and a headless view.
#pragma once

#include "HeadlessView.h"
#include "Unit1.h"
#include "emulated/EmulatedMachine.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenlith::app::testing {

using emulated::TEmulatedMachine;
using emulated::TMachineDescription;
namespace presets = emulated::presets;

struct TFormFixture {
    explicit TFormFixture(TMachineDescription machine = presets::StandardMachine())
        : os(std::move(machine)), form(os, view) {}

    // Runs a handler as the message loop does; answers the error box's text, empty when none.
    std::string Run(void (TForm1::*handler)()) {
        std::string shown;
        RunHandler([&] { (form.*handler)(); }, "Quenlith",
                   [&](const TErrorBox& box) { shown = box.text; });
        return shown;
    }

    void Select(const std::string& text) {
        view.TypeDriveText(text);
        form.cbdriveChange();
    }

    void ExpectClean() const { EXPECT_TRUE(os.Clean()) << os.Report(); }

    TEmulatedMachine os;
    THeadlessView view;
    TForm1 form;
};

// An INQUIRY response whose bytes from 8 on are text (then zeros).
inline std::vector<BYTE> InquiryWithText(const std::string& text) {
    std::vector<BYTE> response(96, 0);
    response[0] = 5;
    for (std::size_t i = 0; i < text.size() && 8 + i < response.size(); ++i) {
        response[8 + i] = static_cast<BYTE>(text[i]);
    }
    return response;
}

} // namespace quenlith::app::testing
