#include "Win32MainWindow.h"

#include "JpegPicture.h"

#include <windowsx.h>

#include <map>

namespace quenlith::app::win32 {
namespace {

using design::TControl;
using design::TControlSpec;
using design::TKind;

constexpr const char* kWindowClass = "TQuenlithForm1";
constexpr DWORD kDesignStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kDiscStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr int kComboFieldItemHeight = 15; // a 21-pixel selection field
constexpr int kComboDropDownHeight = 200;

std::size_t IndexOf(TControl id) {
    return static_cast<std::size_t>(id);
}

COLORREF Colour(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

HFONT MakeFont(const design::TFontSpec& f) {
    return CreateFontA(-f.pixelHeight, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline,
                       FALSE, static_cast<DWORD>(f.charset), OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       std::string(f.face).c_str());
}

const char* ClassOf(TKind kind) {
    switch (kind) {
    case TKind::ComboBox:
        return "COMBOBOX";
    case TKind::Button:
        return "BUTTON";
    case TKind::Edit:
        return "EDIT";
    case TKind::ListBox:
        return "LISTBOX";
    default:
        return nullptr;
    }
}

DWORD StyleOf(TKind kind) {
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    switch (kind) {
    case TKind::ComboBox:
        return child | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
    case TKind::Button:
        return child | BS_PUSHBUTTON;
    case TKind::Edit:
        return child | ES_AUTOHSCROLL;
    case TKind::ListBox:
        return child | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_HSCROLL;
    default:
        return 0;
    }
}

const std::map<TControl, void (TForm1::*)()>& ButtonHandlers() {
    static const std::map<TControl, void (TForm1::*)()> handlers = {
        {TControl::BitBtn1, &TForm1::BitBtn1Click},
        {TControl::BitBtn2, &TForm1::BitBtn2Click},
        {TControl::BitBtn3, &TForm1::BitBtn3Click},
        {TControl::Button1, &TForm1::Button1Click},
    };
    return handlers;
}

std::string ModuleFileName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

TWin32MainWindow::TWin32MainWindow(TOsServices& os, HINSTANCE instance, TWin32Seams seams)
    : form_(os, *this), seams_(std::move(seams)), instance_(instance) {
    title_ = ApplicationTitleOf(ModuleFileName());
    WNDCLASSEXA cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = &TWin32MainWindow::WindowProc;
    cls.hInstance = instance;
    cls.hIcon = LoadIconA(instance, "MAINICON");
    cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    cls.hbrBackground = nullptr; // painted in full, double-buffered
    cls.lpszClassName = kWindowClass;
    RegisterClassExA(&cls); // a second window finds it registered already

    RECT outer{0, 0, design::kClientWidth, design::kClientHeight};
    AdjustWindowRectEx(&outer, kDesignStyle, FALSE, WS_EX_CONTROLPARENT);
    window_ = CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, std::string(kFormCaption).c_str(),
                              kDesignStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, instance, this);

    picture_ = LoadJpegResource(instance, "DISC");
    HDC measure = GetDC(window_);
    // Windowed controls in tab order, so creation order is the tab and dialog order too.
    std::array<const TControlSpec*, design::kControls.size()> byTab{};
    std::size_t windowed = 0;
    for (const TControlSpec& spec : design::kControls) {
        fonts_[IndexOf(spec.id)] = MakeFont(spec.font);
        if (spec.tabOrder >= 0) {
            byTab[static_cast<std::size_t>(spec.tabOrder)] = &spec;
            ++windowed;
        } else {
            RECT r{spec.left, spec.top, spec.left + spec.width, spec.top + spec.height};
            if (spec.kind == TKind::Label) {
                // Labels size themselves to their text.
                HGDIOBJ old = SelectObject(measure, fonts_[IndexOf(spec.id)]);
                SIZE extent{};
                GetTextExtentPoint32A(measure, spec.text.data(), static_cast<int>(spec.text.size()),
                                      &extent);
                SelectObject(measure, old);
                r.right = spec.left + extent.cx + (spec.enabled ? 0 : 1);
                r.bottom = spec.top + extent.cy;
            }
            rects_[IndexOf(spec.id)] = r;
        }
    }
    ReleaseDC(window_, measure);
    for (std::size_t i = 0; i < windowed; ++i) {
        const TControlSpec& spec = *byTab[i];
        const int height = spec.kind == TKind::ComboBox ? kComboDropDownHeight : spec.height;
        const DWORD exStyle = spec.kind == TKind::Edit ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExA(
            exStyle, ClassOf(spec.kind), std::string(spec.text).c_str(), StyleOf(spec.kind),
            spec.left, spec.top, spec.width, height, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(spec.id))), instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[IndexOf(spec.id)]),
                     FALSE);
        controls_[IndexOf(spec.id)] = control;
        rects_[IndexOf(spec.id)] = {spec.left, spec.top, spec.left + spec.width,
                                    spec.top + spec.height};
    }
    HWND combo = Control(TControl::cbdrive);
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kComboFieldItemHeight);
    HWND list = Control(TControl::ListBox1);
    SendMessageA(list, LB_SETCOLUMNWIDTH, design::kListColumnWidth, 0);
    SendMessageA(list, LB_SETITEMHEIGHT, 0, design::kListItemHeight);
}

TWin32MainWindow::~TWin32MainWindow() {
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (HFONT font : fonts_) {
        if (font) {
            DeleteObject(font);
        }
    }
    if (picture_) {
        DeleteObject(picture_);
    }
}

HWND TWin32MainWindow::Control(TControl id) const {
    return controls_[IndexOf(id)];
}

RECT TWin32MainWindow::PaintedRect(TControl id) const {
    return rects_[IndexOf(id)];
}

void TWin32MainWindow::Guarded(void (TForm1::*handler)()) {
    RunHandler([this, handler] { (form_.*handler)(); }, title_,
               [this](const TErrorBox& box) { seams_.showError(window_, box); });
}

void TWin32MainWindow::Create() {
    Guarded(&TForm1::FormCreate);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT own{};
    GetWindowRect(window_, &own);
    const int w = own.right - own.left;
    const int h = own.bottom - own.top;
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32MainWindow::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    SetFocus(Control(TControl::cbdrive));
}

LRESULT CALLBACK TWin32MainWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(l);
        auto* owner = static_cast<TWin32MainWindow*>(create->lpCreateParams);
        owner->window_ = window; // messages arrive before CreateWindowExA returns
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* self = reinterpret_cast<TWin32MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcA(window, message, w, l);
    }
    return self->OnMessage(message, w, l);
}

LRESULT TWin32MainWindow::OnMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // everything is painted in WM_PAINT
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        Paint(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_COMMAND:
        OnCommand(LOWORD(w), HIWORD(w));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        OnButtonDown({GET_X_LPARAM(l), GET_Y_LPARAM(l)}, message == WM_LBUTTONDOWN);
        return 0;
    case WM_LBUTTONUP: {
        const POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        const bool click = linkPressed_ && PaintedControlAt(at) == TControl::Label5;
        linkPressed_ = false;
        if (click) {
            Guarded(&TForm1::Label5Click);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return 0;
    case WM_MOUSELEAVE:
        UpdateLinkHover(false);
        return 0;
    case WM_SETCURSOR:
        if (cursor_ != TCursor::crDefault) {
            ApplyCursor(); // the application-wide cursor stands for every control
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // A close while a handler waits for its drive happens once the handlers return.
        if (form_.CloseQuery()) {
            DestroyWindow(window_);
        }
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window_, message, w, l);
}

void TWin32MainWindow::Paint(HDC target) {
    RECT client{};
    GetClientRect(window_, &client);
    // Double buffering: the window's own surface is drawn off screen, then copied in one step.
    HDC buffer = CreateCompatibleDC(target);
    HBITMAP surface = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ oldSurface = SelectObject(buffer, surface);
    FillRect(buffer, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (const TControlSpec& spec : design::kControls) {
        const RECT r = rects_[IndexOf(spec.id)];
        switch (spec.kind) {
        case TKind::Picture:
            if (picture_) {
                HDC source = CreateCompatibleDC(buffer);
                HGDIOBJ old = SelectObject(source, picture_);
                BitBlt(buffer, 0, 0, design::kPictureWidth, design::kPictureHeight, source, 0, 0,
                       SRCCOPY);
                SelectObject(source, old);
                DeleteDC(source);
            }
            break;
        case TKind::Shape: {
            HGDIOBJ oldPen = SelectObject(buffer, GetStockObject(WHITE_PEN));
            HGDIOBJ oldBrush = SelectObject(buffer, GetStockObject(WHITE_BRUSH));
            RoundRect(buffer, r.left, r.top, r.right, r.bottom, design::kShapeCornerDiameter,
                      design::kShapeCornerDiameter);
            SelectObject(buffer, oldPen);
            SelectObject(buffer, oldBrush);
            break;
        }
        case TKind::Label: {
            HGDIOBJ oldFont = SelectObject(buffer, fonts_[IndexOf(spec.id)]);
            if (!spec.transparent) {
                FillRect(buffer, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            }
            SetBkMode(buffer, TRANSPARENT);
            const int length = static_cast<int>(spec.text.size());
            if (spec.enabled) {
                SetTextColor(buffer, Colour(spec.font.rgb));
                TextOutA(buffer, r.left, r.top, spec.text.data(), length);
            } else {
                // Engraved: highlight one pixel right and down, then shadow at its place.
                SetTextColor(buffer, GetSysColor(COLOR_BTNHIGHLIGHT));
                TextOutA(buffer, r.left + 1, r.top + 1, spec.text.data(), length);
                SetTextColor(buffer, GetSysColor(COLOR_BTNSHADOW));
                TextOutA(buffer, r.left, r.top, spec.text.data(), length);
            }
            SelectObject(buffer, oldFont);
            break;
        }
        default:
            break; // windowed controls paint themselves
        }
    }
    BitBlt(target, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, oldSurface);
    DeleteObject(surface);
    DeleteDC(buffer);
}

void TWin32MainWindow::OnCommand(int id, int code) {
    for (const auto& [control, handler] : ButtonHandlers()) {
        if (id == ControlId(control) && code == BN_CLICKED) {
            Guarded(handler);
            return;
        }
    }
    if (id != ControlId(TControl::cbdrive)) {
        return;
    }
    HWND combo = Control(TControl::cbdrive);
    if (code == CBN_SELCHANGE) {
        // The selection notifies before the edit part shows the item: put it there first.
        const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) {
            std::string item(
                static_cast<std::size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, index, 0)), '\0');
            SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
            SetWindowTextA(combo, item.c_str());
        }
        Guarded(&TForm1::cbdriveChange);
    } else if (code == CBN_EDITCHANGE) {
        Guarded(&TForm1::cbdriveChange);
    }
}

TControl TWin32MainWindow::PaintedControlAt(POINT at) const {
    // Topmost first; the disabled title takes no mouse input, so presses reach the picture.
    for (auto spec = design::kControls.rbegin(); spec != design::kControls.rend(); ++spec) {
        if (spec->tabOrder >= 0 || !spec->enabled) {
            continue;
        }
        const RECT r = rects_[IndexOf(spec->id)];
        if (PtInRect(&r, at)) {
            return spec->id;
        }
    }
    return TControl::Image1;
}

void TWin32MainWindow::OnButtonDown(POINT at, bool left) {
    const TControl hit = PaintedControlAt(at);
    if (hit == TControl::Image1) {
        SetCapture(window_); // as the picture control would on a press
        Guarded(&TForm1::Image1MouseDown);
    } else if (hit == TControl::Label5 && left) {
        linkPressed_ = true;
    }
}

void TWin32MainWindow::OnMouseMove(POINT at) {
    UpdateLinkHover(PaintedControlAt(at) == TControl::Label5);
}

void TWin32MainWindow::UpdateLinkHover(bool inside) {
    if (inside == overLink_) {
        return;
    }
    overLink_ = inside;
    if (inside) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
        form_.Label5MouseEnter();
    } else {
        form_.Label5MouseLeave();
    }
}

void TWin32MainWindow::ApplyCursor() const {
    LPCSTR shape = IDC_ARROW;
    if (cursor_ == TCursor::crHourGlass) {
        shape = IDC_WAIT;
    } else if (cursor_ == TCursor::crHandPoint) {
        shape = IDC_HAND;
    }
    SetCursor(LoadCursorA(nullptr, shape));
}

void TWin32MainWindow::PrepareDiscWindow() {
    // Double buffering is how Paint works. The border, caption, system menu and buttons go;
    // the window keeps its outer size, which all becomes client area.
    SetWindowLongPtrA(
        window_, GWL_STYLE,
        static_cast<LONG_PTR>(kDiscStyle | (GetWindowLongPtrA(window_, GWL_STYLE) & WS_VISIBLE)));
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // The system owns the region from here on.
    SetWindowRgn(window_,
                 CreateEllipticRgn(design::kRegionLeft, design::kRegionTop, design::kRegionRight,
                                   design::kRegionBottom),
                 TRUE);
}

std::string TWin32MainWindow::DriveText() const {
    HWND combo = Control(TControl::cbdrive);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(combo)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(combo, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TWin32MainWindow::AddDriveItem(const std::string& entry) {
    SendMessageA(Control(TControl::cbdrive), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(entry.c_str()));
}

void TWin32MainWindow::SetDriveItemIndex(int index) {
    // CB_SETCURSEL sends no notification: the selection handler does not run.
    SendMessageA(Control(TControl::cbdrive), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TWin32MainWindow::SetEditText(int index, const std::string& text) {
    static constexpr TControl kEdits[] = {TControl::Edit1, TControl::Edit2, TControl::Edit3,
                                          TControl::Edit4};
    SetWindowTextA(Control(kEdits[index - 1]), text.c_str());
}

void TWin32MainWindow::SetListLines(const std::vector<std::string>& lines) {
    HWND list = Control(TControl::ListBox1);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void TWin32MainWindow::SetApplicationCursor(TCursor cursor) {
    cursor_ = cursor;
    ApplyCursor();
}

void TWin32MainWindow::ShowInformation(const std::string& text) {
    seams_.showInformation(window_, text);
}

void TWin32MainWindow::CloseWindow() {
    if (window_) {
        SendMessageA(window_, WM_CLOSE, 0, 0);
    }
}

void TWin32MainWindow::ReleaseMouseCapture() {
    seams_.releaseCapture();
}

void TWin32MainWindow::SendCaptionPress() {
    seams_.sendCaptionPress(window_);
}

void TWin32MainWindow::OpenWebAddress(const std::string& address) {
    seams_.openAddress(address);
}

} // namespace quenlith::app::win32
