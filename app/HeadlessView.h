// A TFormView without widgets: it holds what the window would show, records what TForm1 asked
// of it, and lets the probe and the tests read it back.
#pragma once

#include "FormView.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace quenlith::app {

class THeadlessView final : public TFormView {
public:
    // The selector as the user would leave it after typing.
    void TypeDriveText(const std::string& text) { driveText = text; }

    void PrepareDiscWindow() override { ++prepareCount; }
    std::string DriveText() const override { return driveText; }
    void AddDriveItem(const std::string& entry) override { driveItems.push_back(entry); }
    void SetDriveItemIndex(int index) override {
        if (index >= 0 && static_cast<std::size_t>(index) < driveItems.size()) {
            itemIndex = index;
            driveText = driveItems[static_cast<std::size_t>(index)];
        }
    }
    void SetEditText(int index, const std::string& text) override {
        edits.at(static_cast<std::size_t>(index - 1)) = text;
        editOrder.push_back(index);
    }
    void SetListLines(const std::vector<std::string>& lines) override {
        listLines = lines;
        ++listWrites;
    }
    void SetApplicationCursor(TCursor c) override {
        cursor = c;
        cursors.push_back(c);
    }
    void ShowInformation(const std::string& text) override {
        information.push_back(text);
        if (onInformation) {
            onInformation(text);
        }
    }
    void CloseWindow() override {
        ++closeCount;
        if (onClose) {
            onClose();
        }
    }
    void ReleaseMouseCapture() override { dragSteps.emplace_back("ReleaseCapture"); }
    void SendCaptionPress() override { dragSteps.emplace_back("WM_NCLBUTTONDOWN HTCAPTION"); }
    void OpenWebAddress(const std::string& address) override { openedAddresses.push_back(address); }

    std::string driveText;
    std::vector<std::string> driveItems;
    int itemIndex = -1;
    std::array<std::string, 4> edits; // Edit1 to Edit4
    std::vector<int> editOrder;
    std::vector<std::string> listLines;
    int listWrites = 0;
    TCursor cursor = TCursor::crDefault;
    std::vector<TCursor> cursors;
    std::vector<std::string> information;
    std::function<void(const std::string&)> onInformation; // runs while the box is "open"
    int prepareCount = 0;
    int closeCount = 0;
    std::function<void()> onClose;
    std::vector<std::string> dragSteps;
    std::vector<std::string> openedAddresses;
};

} // namespace quenlith::app
