#include "QtMainWindow.h"

#include "FormDesign.h"
#include "PaintedControls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QWindow>

namespace quenlith::app::qt {
namespace {

using design::TControl;
using design::TControlSpec;
using design::TKind;

// Classic single border and caption: the outer size the window keeps when they are removed.
constexpr int kFrame = 3;
constexpr int kCaption = 19;
constexpr int kOuterWidth = design::kClientWidth + 2 * kFrame;
constexpr int kOuterHeight = design::kClientHeight + 2 * kFrame + kCaption;

// Five lines fill a column while no scroll bar shows; with the bar, three.
constexpr int kLinesWithoutBar = 15;
// Qt wraps a column when top + item height reaches the height: one pixel more holds five.
constexpr int kListHeightForFiveRows = 66;

class TCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {design::kListColumnWidth, design::kListItemHeight};
    }
};

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void LaunchDetached(const QString& address) {
    QProcess::startDetached(QStringLiteral("xdg-open"), {address});
}

} // namespace

void PrepareQtEnvironment() {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
}

void InstallFonts() {
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans Condensed"),
                                                          QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Georgia"),
                               {QStringLiteral("Gelasio"), QStringLiteral("DejaVu Serif")});
    QApplication::setFont(FontOf(design::kWindowFont));
}

TQtMainWindow::TQtMainWindow(TOsServices& os, TBoxPresenter& boxes,
                             std::function<void(const QString&)> openAddress)
    : form_(os, *this), boxes_(boxes), openAddress_(std::move(openAddress)) {
    if (!openAddress_) {
        openAddress_ = &LaunchDetached;
    }
    title_ = FromAnsi(ApplicationTitleOf(ToAnsi(QCoreApplication::applicationFilePath())));
    setWindowTitle(Latin1(kFormCaption));
    setObjectName(QStringLiteral("Form1"));
    Build();
}

TQtMainWindow::~TQtMainWindow() {
    if (overrideCursor_) {
        QApplication::restoreOverrideCursor();
    }
}

void TQtMainWindow::Build() {
    setFixedSize(kOuterWidth, kOuterHeight);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFont(FontOf(design::kWindowFont));

    QWidget* previousInTabOrder = nullptr;
    std::vector<std::pair<int, QWidget*>> tabbed;
    for (const TControlSpec& spec : design::kControls) {
        QWidget* widget = nullptr;
        switch (spec.kind) {
        case TKind::Picture:
            picture_ = new TPictureWidget(this, QPixmap(QStringLiteral(":/quenlith/disc.jpg")));
            picture_->onPress = [this](QMouseEvent* e) {
                dragStartPointer_ = e->globalPosition().toPoint();
                dragStartWindow_ = pos();
                moveRequested_ = false;
                form_.Image1MouseDown();
                if (moveRequested_ && windowHandle() &&
                    QGuiApplication::platformName() == "wayland" && e->button() == Qt::LeftButton &&
                    windowHandle()->startSystemMove()) {
                    return; // the compositor moves the window
                }
                dragging_ = moveRequested_;
            };
            picture_->onMove = [this](QMouseEvent* e) {
                if (dragging_) {
                    move(dragStartWindow_ + e->globalPosition().toPoint() - dragStartPointer_);
                }
            };
            picture_->onRelease = [this](QMouseEvent*) { dragging_ = false; };
            widget = picture_;
            break;
        case TKind::Shape:
            widget = new TShapeWidget(this);
            break;
        case TKind::Label: {
            auto* label = new TDesignLabel(this, spec);
            if (spec.id == TControl::Label5) {
                label->onEnter = [this] { form_.Label5MouseEnter(); };
                label->onLeave = [this] { form_.Label5MouseLeave(); };
                label->onClick = [this] { Guarded(&TForm1::Label5Click); };
            }
            label->move(spec.left, spec.top);
            widget = label;
            break;
        }
        case TKind::ComboBox:
            drive_ = new QComboBox(this);
            drive_->setEditable(true);
            drive_->setInsertPolicy(QComboBox::NoInsert);
            drive_->setCompleter(nullptr); // it would rewrite a typed "E:" into a full entry
            // Both the user's pick and the user's typing run the selection handler; setting the
            // index from code does not.
            connect(drive_, &QComboBox::activated, this,
                    [this] { Guarded(&TForm1::cbdriveChange); });
            connect(drive_->lineEdit(), &QLineEdit::textEdited, this,
                    [this] { Guarded(&TForm1::cbdriveChange); });
            widget = drive_;
            break;
        case TKind::Button: {
            auto* button = new QPushButton(Latin1(spec.text), this);
            button->setAutoDefault(false);
            static const std::map<TControl, void (TForm1::*)()> kClicks = {
                {TControl::BitBtn1, &TForm1::BitBtn1Click},
                {TControl::BitBtn2, &TForm1::BitBtn2Click},
                {TControl::BitBtn3, &TForm1::BitBtn3Click},
                {TControl::Button1, &TForm1::Button1Click},
            };
            const auto handler = kClicks.at(spec.id);
            connect(button, &QPushButton::clicked, this, [this, handler] { Guarded(handler); });
            widget = button;
            break;
        }
        case TKind::Edit: {
            auto* edit = new QLineEdit(this);
            edit->setFrame(true);
            edits_[static_cast<std::size_t>(static_cast<int>(spec.id) -
                                            static_cast<int>(TControl::Edit1))] = edit;
            widget = edit;
            break;
        }
        case TKind::ListBox:
            list_ = new QListWidget(this);
            list_->setFrameShape(QFrame::NoFrame);
            list_->setFlow(QListView::TopToBottom);
            list_->setWrapping(true);
            list_->setResizeMode(QListView::Adjust);
            list_->setUniformItemSizes(true);
            list_->setTextElideMode(Qt::ElideNone);
            list_->setSelectionMode(QAbstractItemView::SingleSelection);
            list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list_->setItemDelegate(new TCellDelegate(list_));
            list_->setSpacing(0);
            widget = list_;
            break;
        }
        widget->setObjectName(Latin1(spec.name));
        if (spec.kind != TKind::Label) {
            const int height = spec.kind == TKind::ListBox ? kListHeightForFiveRows : spec.height;
            widget->setGeometry(spec.left, spec.top, spec.width, height);
        }
        if (spec.kind != TKind::Picture && spec.kind != TKind::Shape && spec.kind != TKind::Label) {
            widget->setFont(FontOf(spec.font));
            tabbed.emplace_back(spec.tabOrder, widget);
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        controls_.emplace(std::string(spec.name), widget);
    }
    // Windowed controls above every painted one, in tab order.
    std::sort(tabbed.begin(), tabbed.end());
    for (auto& [order, widget] : tabbed) {
        widget->raise();
        if (previousInTabOrder) {
            setTabOrder(previousInTabOrder, widget);
        }
        previousInTabOrder = widget;
    }
    drive_->setFocus();
}

QWidget* TQtMainWindow::Control(std::string_view name) const {
    auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

void TQtMainWindow::Guarded(void (TForm1::*handler)()) {
    RunHandler([this, handler] { (form_.*handler)(); }, ToAnsi(title_),
               [this](const TErrorBox& box) { boxes_.ShowError(this, box); });
}

void TQtMainWindow::Create() {
    Guarded(&TForm1::FormCreate);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TQtMainWindow::PrepareDiscWindow() {
    // Qt paints widgets double-buffered already. Border and caption go; the size stays.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setMask(QRegion(QRect(QPoint(design::kRegionLeft, design::kRegionTop),
                          QPoint(design::kRegionRight - 1, design::kRegionBottom - 1)),
                    QRegion::Ellipse));
}

std::string TQtMainWindow::DriveText() const {
    return ToAnsi(drive_->currentText());
}

void TQtMainWindow::AddDriveItem(const std::string& entry) {
    drive_->addItem(FromAnsi(entry));
}

void TQtMainWindow::SetDriveItemIndex(int index) {
    if (index >= 0 && index < drive_->count()) {
        const QSignalBlocker quiet(drive_);
        drive_->setCurrentIndex(index);
    }
}

void TQtMainWindow::SetEditText(int index, const std::string& text) {
    QLineEdit* edit = edits_.at(static_cast<std::size_t>(index - 1));
    edit->setText(FromAnsi(text));
    edit->setCursorPosition(0);
}

void TQtMainWindow::SetListLines(const std::vector<std::string>& lines) {
    list_->clear();
    for (const std::string& line : lines) {
        list_->addItem(FromAnsi(line));
    }
    UpdateListScrollBar();
}

void TQtMainWindow::UpdateListScrollBar() {
    // Laid out as if the bar were there whenever it may be: decide it from the line count.
    list_->setHorizontalScrollBarPolicy(list_->count() > kLinesWithoutBar ? Qt::ScrollBarAlwaysOn
                                                                          : Qt::ScrollBarAlwaysOff);
}

void TQtMainWindow::SetApplicationCursor(TCursor cursor) {
    if (cursor == TCursor::crDefault) {
        if (overrideCursor_) {
            QApplication::restoreOverrideCursor();
            overrideCursor_ = false;
        }
        return;
    }
    const QCursor shape(cursor == TCursor::crHourGlass ? Qt::WaitCursor : Qt::PointingHandCursor);
    if (overrideCursor_) {
        QApplication::changeOverrideCursor(shape);
    } else {
        QApplication::setOverrideCursor(shape);
        overrideCursor_ = true;
    }
}

void TQtMainWindow::ShowInformation(const std::string& text) {
    boxes_.ShowInformation(this, text);
}

void TQtMainWindow::CloseWindow() {
    close();
}

void TQtMainWindow::closeEvent(QCloseEvent* event) {
    // A close while a handler waits for its drive happens once the handlers have returned.
    if (form_.CloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TQtMainWindow::ReleaseMouseCapture() {
    // The press's implicit grab stays with the picture, which follows the pointer below.
    moveRequested_ = false;
}

void TQtMainWindow::SendCaptionPress() {
    moveRequested_ = true;
}

void TQtMainWindow::OpenWebAddress(const std::string& address) {
    openAddress_(FromAnsi(address));
}

} // namespace quenlith::app::qt
