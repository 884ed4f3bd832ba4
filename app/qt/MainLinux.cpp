// quenlith: the window over the machine's real drives.
#include "QtProgram.h"
#include "linux/LinuxKernel.h"
#include "linux/LinuxServices.h"

int main(int argc, char** argv) {
    quenlith::linuxos::TRealLinuxKernel kernel;
    quenlith::linuxos::TLinuxServices services(kernel);
    return quenlith::app::qt::RunQuenlithWindow(
        argc, argv, services,
        [&](std::function<void()> pump) { services.messagePump = std::move(pump); });
}
