// Form1 in Qt 6 Widgets: the disc-shaped window whose controls TForm1 drives.
#pragma once

#include "FormView.h"
#include "OsServices.h"
#include "QtBoxes.h"
#include "Unit1.h"

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace quenlith::app::qt {

class TPictureWidget;

class TQtMainWindow final : public QWidget, public TFormView {
public:
    // boxes and the services must outlive the window. openAddress launches the browser;
    // the default runs xdg-open detached.
    TQtMainWindow(TOsServices& os, TBoxPresenter& boxes,
                  std::function<void(const QString&)> openAddress = {});
    ~TQtMainWindow() override;

    // Creation: FormCreate, with any error it raises shown in the error box; creation goes on.
    void Create();
    TForm1& Form() { return form_; }
    QWidget* Control(std::string_view name) const;
    const QString& ApplicationTitle() const { return title_; }

    // TFormView
    void PrepareDiscWindow() override;
    std::string DriveText() const override;
    void AddDriveItem(const std::string& entry) override;
    void SetDriveItemIndex(int index) override;
    void SetEditText(int index, const std::string& text) override;
    void SetListLines(const std::vector<std::string>& lines) override;
    void SetApplicationCursor(TCursor cursor) override;
    void ShowInformation(const std::string& text) override;
    void CloseWindow() override;
    void ReleaseMouseCapture() override;
    void SendCaptionPress() override;
    void OpenWebAddress(const std::string& address) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build();
    void Guarded(void (TForm1::*handler)());
    void UpdateListScrollBar();

    TForm1 form_;
    TBoxPresenter& boxes_;
    std::function<void(const QString&)> openAddress_;
    QString title_;
    std::map<std::string, QWidget*, std::less<>> controls_;
    TPictureWidget* picture_ = nullptr;
    QComboBox* drive_ = nullptr;
    std::array<QLineEdit*, 4> edits_{};
    QListWidget* list_ = nullptr;
    bool overrideCursor_ = false;
    // Dragging on X11: the pointer's and the window's places when the press began.
    bool dragging_ = false;
    bool moveRequested_ = false;
    QPoint dragStartPointer_;
    QPoint dragStartWindow_;
};

// Before QApplication: no scaling by the screen's DPI; pixel sizes stand as designed.
void PrepareQtEnvironment();
// After QApplication: the metric-compatible faces where Tahoma and Georgia are absent, and the
// window's font as the application font.
void InstallFonts();

} // namespace quenlith::app::qt
