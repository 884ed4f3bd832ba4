#include "QtProgram.h"

#include "QtMainWindow.h"

#include <QApplication>
#include <QIcon>

static void InitialiseResources() {
    // The resources live in a static library: without this the picture is silently missing.
    Q_INIT_RESOURCE(quenlith);
}

namespace quenlith::app::qt {

int RunQuenlithWindow(int& argc, char** argv, TOsServices& os,
                      const std::function<void(std::function<void()>)>& installPump) {
    PrepareQtEnvironment();
    QApplication application(argc, argv);
    InitialiseResources();
    InstallFonts();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quenlith/Quenlith.ico")));
    installPump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });

    TQtMessageBoxes boxes;
    TQtMainWindow window(os, boxes);
    window.Create();
    window.show();
    const int code = QApplication::exec();
    installPump({});
    return code;
}

} // namespace quenlith::app::qt
