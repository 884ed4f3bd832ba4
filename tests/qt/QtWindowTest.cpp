// The Qt window: its controls, mask, selection, cursors, boxes, dragging and Exit, over the
// emulated machine. Runs offscreen; the same binary runs once under Xvfb, where the mask is
// real and a screenshot is kept.
#include "FormDesign.h"
#include "QtMainWindow.h"
#include "emulated/Presets.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace quenlith;
using namespace quenlith::app;
using namespace quenlith::app::qt;
namespace presets = quenlith::emulated::presets;

namespace {

struct TRecordedBoxes final : TBoxPresenter {
    std::vector<TErrorBox> errors;
    std::vector<std::string> information;
    void ShowError(QWidget*, const TErrorBox& box) override { errors.push_back(box); }
    void ShowInformation(QWidget*, const std::string& text) override {
        information.push_back(text);
    }
};

QString ArtifactPath(const QString& name) {
    QString dir = qEnvironmentVariable("QUENLITH_ARTIFACT_DIR", QDir::currentPath());
    QDir().mkpath(dir);
    return dir + "/" + name;
}

class QtWindow : public ::testing::Test {
protected:
    void Open(emulated::TMachineDescription machine = presets::StandardMachine()) {
        os = std::make_unique<emulated::TEmulatedMachine>(std::move(machine));
        os->onProcessMessages = [] { QCoreApplication::processEvents(); };
        window = std::make_unique<TQtMainWindow>(*os, boxes,
                                                 [this](const QString& a) { opened.push_back(a); });
        window->Create();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        window.reset();
        if (os) {
            EXPECT_TRUE(os->Clean()) << os->Report();
        }
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    template <class T> T* Get(const char* name) { return dynamic_cast<T*>(window->Control(name)); }
    QWindow* Handle() { return window->windowHandle(); }

    TRecordedBoxes boxes;
    std::vector<QString> opened;
    std::unique_ptr<emulated::TEmulatedMachine> os;
    std::unique_ptr<TQtMainWindow> window;
};

TEST_F(QtWindow, ControlsStandWhereTheDesignPutsThem) {
    Open();
    for (const design::TControlSpec& spec : design::kControls) {
        QWidget* w = window->Control(spec.name);
        ASSERT_NE(w, nullptr) << spec.name;
        EXPECT_EQ(w->pos(), QPoint(spec.left, spec.top)) << spec.name;
        if (spec.kind == design::TKind::Button) {
            EXPECT_EQ(w->size(), QSize(spec.width, spec.height)) << spec.name;
            EXPECT_EQ(dynamic_cast<QPushButton*>(w)->text().toStdString(), spec.text) << spec.name;
        }
        if (spec.kind == design::TKind::Edit || spec.kind == design::TKind::ComboBox) {
            EXPECT_EQ(w->size(), QSize(spec.width, spec.height)) << spec.name;
        }
        if (spec.kind == design::TKind::Label) {
            // Labels size themselves to their text; the substitute faces come within a pixel
            // of the design's heights, and within a few of its widths where the text is the
            // design's own (the address and the title are ours).
            EXPECT_NEAR(w->height(), spec.height, 1) << spec.name;
            if (spec.id != design::TControl::Label5 && spec.id != design::TControl::Label8) {
                EXPECT_NEAR(w->width(), spec.width, 12) << spec.name;
            }
        }
    }
    EXPECT_EQ(window->Control("ListBox1")->width(), 368);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->focusWidget(), window->Control("cbdrive"));
    // Tab order: selector, Eject, Close, Analyse Disk, the four fields, Exit, the list.
    const char* order[] = {"cbdrive", "BitBtn1", "BitBtn2", "BitBtn3", "Edit1",
                           "Edit2",   "Edit3",   "Edit4",   "Button1", "ListBox1"};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget* next = window->Control(order[i])->nextInFocusChain();
        while (next && (next->focusPolicy() == Qt::NoFocus ||
                        window->Control(order[i])->isAncestorOf(next))) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, window->Control(order[i + 1])) << order[i];
    }
}

TEST_F(QtWindow, MaskIsTheEllipse) {
    Open();
    const QRegion mask = window->mask();
    EXPECT_TRUE(mask.contains(QPoint(297, 300)));
    EXPECT_TRUE(mask.contains(QPoint(2, 300)));
    EXPECT_TRUE(mask.contains(QPoint(297, 1)));
    for (QPoint corner : {QPoint(0, 0), QPoint(10, 10), QPoint(590, 5), QPoint(5, 598),
                          QPoint(593, 600), QPoint(0, 300)}) {
        EXPECT_FALSE(mask.contains(corner)) << corner.x() << "," << corner.y();
    }
}

TEST_F(QtWindow, SelectionFillsTheFieldsAndTheList) {
    Open();
    auto* drive = Get<QComboBox>("cbdrive");
    ASSERT_EQ(drive->count(), 2);
    EXPECT_EQ(drive->itemText(0), "D: [DATA]");
    EXPECT_EQ(drive->itemText(1), "E: []");
    EXPECT_EQ(drive->currentText(), "D: [DATA]");
    EXPECT_EQ(Get<QLineEdit>("Edit1")->text(), "VIRTUAL ");
    EXPECT_EQ(Get<QLineEdit>("Edit3")->text(), "1.02");
    auto* list = Get<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 14);
    EXPECT_EQ(list->item(0)->text(), "Read CD-R");
    // Five lines to a column, top to bottom, then the next column 122 pixels on.
    EXPECT_EQ(list->visualItemRect(list->item(1)).topLeft(), QPoint(0, 13));
    EXPECT_EQ(list->visualItemRect(list->item(5)).topLeft(), QPoint(122, 0));
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // Typing a letter runs the selection handler on the typed text.
    drive->lineEdit()->clear();
    QTest::keyClicks(drive->lineEdit(), "E");
    EXPECT_EQ(Get<QLineEdit>("Edit2")->text(), "CD-ROM VC-24    ");
    EXPECT_EQ(list->count(), 6);
    EXPECT_EQ(drive->count(), 2); // typing adds no entry
}

TEST_F(QtWindow, LongReportsScrollSideways) {
    Open();
    std::vector<std::string> lines(16, "line");
    window->SetListLines(lines);
    auto* list = Get<QListWidget>("ListBox1");
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    window->SetListLines({"one"});
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(QtWindow, HandOverTheLinkAndItsAddress) {
    Open();
    QWidget* link = window->Control("Label5");
    const QPoint inside = link->geometry().center();
    QTest::mouseMove(Handle(), QPoint(300, 200));
    QTest::mouseMove(Handle(), QPoint(301, 200));
    QTest::mouseMove(Handle(), inside);
    QTest::mouseMove(Handle(), inside + QPoint(1, 0));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QTest::mouseClick(Handle(), Qt::LeftButton, {}, inside + QPoint(1, 0));
    EXPECT_EQ(opened, std::vector<QString>{QString::fromLatin1(kMakerWebAddress.data())});
    QTest::mouseMove(Handle(), QPoint(300, 200));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtWindow, HourglassWhileAReportWaits) {
    Open();
    std::vector<Qt::CursorShape> during;
    os->onProcessMessages = [&] {
        during.push_back(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                        : Qt::ArrowCursor);
    };
    QTest::keyClicks(Get<QComboBox>("cbdrive")->lineEdit(), "x");
    ASSERT_FALSE(during.empty());
    EXPECT_EQ(during.front(), Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtWindow, BoxesShowTheHandlersMessages) {
    Open();
    Get<QPushButton>("BitBtn3")->click();
    EXPECT_EQ(boxes.information, std::vector<std::string>{"The Inserted media is DVD-ROM"});
    Get<QComboBox>("cbdrive")->setEditText("C");
    Get<QPushButton>("BitBtn1")->click();
    ASSERT_EQ(boxes.errors.size(), 1u);
    EXPECT_EQ(boxes.errors[0].text, "Cannot eject drive.");
    EXPECT_EQ(boxes.errors[0].caption, ToAnsi(window->ApplicationTitle()));
    EXPECT_FALSE(window->ApplicationTitle().isEmpty());
}

TEST_F(QtWindow, TheRealMessageBoxIsModalWithOneOkButton) {
    emulated::TEmulatedMachine machine(presets::StandardMachine());
    TQtMessageBoxes real;
    TQtMainWindow w(machine, real);
    w.show();
    QString caption, text;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    real.ShowError(&w, {"Sample", "Cannot access drive."});
    EXPECT_EQ(caption, "Sample");
    EXPECT_EQ(text, "Cannot access drive.");
    EXPECT_EQ(buttons, 1);
}

TEST_F(QtWindow, DraggingByThePictureAndTheTitleOnly) {
    Open();
    struct {
        const char* where;
        QPoint press;
        bool moves;
    } cases[] = {{"picture", {60, 200}, true},
                 {"disabled title", window->Control("Label8")->geometry().center(), true},
                 {"Vendor label", window->Control("Label1")->geometry().center(), false},
                 {"version label", window->Control("Label9")->geometry().center(), false},
                 {"white panel", {200, 470}, false},
                 {"button", window->Control("BitBtn1")->geometry().center(), false}};
    for (auto c : cases) {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            const QPoint before = window->pos();
            QTest::mousePress(Handle(), button, {}, c.press);
            QTest::mouseMove(Handle(), c.press + QPoint(30, 20));
            QTest::mouseRelease(Handle(), button, {}, c.press + QPoint(30, 20));
            EXPECT_EQ(window->pos() != before, c.moves) << c.where << " button " << button;
            window->move(before);
            QCoreApplication::processEvents();
        }
    }
}

TEST_F(QtWindow, ExitClosesOnceTheWaitingReportHasFinished) {
    Open();
    bool clicked = false;
    os->onProcessMessages = [&] {
        if (!clicked) {
            clicked = true;
            Get<QPushButton>("Button1")->click();
            EXPECT_TRUE(window->isVisible()); // not under the running handler
        }
        QCoreApplication::processEvents();
    };
    Get<QComboBox>("cbdrive")->setCurrentIndex(1);
    QTest::keyClicks(Get<QComboBox>("cbdrive")->lineEdit(), " ");
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(os->OpenHandleCount(), 0u);
}

TEST_F(QtWindow, Screenshot) {
    Open();
    QCoreApplication::processEvents();
    const QImage image = window->grab().toImage();
    EXPECT_EQ(image.width(), window->width());
    ASSERT_TRUE(image.save(ArtifactPath("qt-window-" + QGuiApplication::platformName() + ".png")));
    if (QGuiApplication::platformName() == "xcb") {
        // Under X the mask is real: the window's corners show what lies behind it.
        QTest::qWait(200);
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        ASSERT_TRUE(screen.save(ArtifactPath("qt-screen-xcb.png")));
        const QPoint origin = window->geometry().topLeft();
        EXPECT_EQ(screen.pixelColor(origin + QPoint(4, 4)), QColor(Qt::black));
        EXPECT_NE(screen.pixelColor(origin + QPoint(60, 200)), QColor(Qt::black));
    }
}

} // namespace

int main(int argc, char** argv) {
    // Listing the tests needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    PrepareQtEnvironment();
    QApplication application(argc, argv);
    Q_INIT_RESOURCE(quenlith);
    InstallFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
