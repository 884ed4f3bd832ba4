#include "LinuxKernel.h"

#include <algorithm>
#include <blkid/blkid.h>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

namespace quenlith::linuxos {

std::vector<unsigned> TRealLinuxKernel::OpticalDriveNumbers() {
    std::vector<unsigned> numbers;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir("/sys/class/block"), &closedir);
    if (!dir) {
        return numbers;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.size() > 2 && name.compare(0, 2, "sr") == 0 &&
            std::all_of(name.begin() + 2, name.end(),
                        [](char c) { return c >= '0' && c <= '9'; }) &&
            name.size() < 6) {
            numbers.push_back(static_cast<unsigned>(std::stoul(name.substr(2))));
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

int TRealLinuxKernel::Open(const std::string& path, int flags) {
    return ::open(path.c_str(), flags);
}

int TRealLinuxKernel::Close(int fd) {
    return ::close(fd);
}

int TRealLinuxKernel::SgIo(int fd, sg_io_hdr_t& header) {
    return ::ioctl(fd, SG_IO, &header);
}

int TRealLinuxKernel::DoorIoctl(int fd, unsigned long request) {
    return ::ioctl(fd, request, 0);
}

std::optional<std::string> TRealLinuxKernel::FileSystemLabel(const std::string& devicePath) {
    std::unique_ptr<blkid_struct_probe, void (*)(blkid_probe)> probe(
        blkid_new_probe_from_filename(devicePath.c_str()), &blkid_free_probe);
    if (!probe) {
        return std::nullopt;
    }
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(probe.get()) != 0) {
        return std::nullopt; // nothing found, ambiguous, or the medium cannot be read
    }
    const char* label = nullptr;
    std::size_t length = 0;
    if (blkid_probe_lookup_value(probe.get(), "LABEL", &label, &length) != 0 || label == nullptr) {
        return std::string();
    }
    return std::string(label); // libblkid counts the final zero in length
}

TProcessCredentials TRealLinuxKernel::Credentials() {
    TProcessCredentials who;
    who.root = ::geteuid() == 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("CapEff:", 0) == 0) {
            constexpr unsigned long long kCapSysRawIo = 1ull << 17;
            who.rawIo = (std::stoull(line.substr(7), nullptr, 16) & kCapSysRawIo) != 0;
        }
    }
    who.groups.push_back(::getegid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> supplementary(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, supplementary.data());
        supplementary.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        who.groups.insert(who.groups.end(), supplementary.begin(), supplementary.end());
    }
    // The owner group of the first drive node; without one, the distribution's cdrom group.
    for (unsigned n : OpticalDriveNumbers()) {
        struct stat node {};
        if (::stat(("/dev/sr" + std::to_string(n)).c_str(), &node) == 0) {
            who.driveGroup = node.st_gid;
            break;
        }
    }
    if (!who.driveGroup) {
        // /etc/group read directly, so a statically linked probe needs no NSS modules.
        std::ifstream groups("/etc/group");
        for (std::string line; std::getline(groups, line);) {
            if (line.rfind("cdrom:", 0) == 0) {
                const std::size_t gidAt = line.find(':', line.find(':') + 1) + 1;
                who.driveGroup =
                    static_cast<gid_t>(std::strtoul(line.c_str() + gidAt, nullptr, 10));
                break;
            }
        }
    }
    return who;
}

void TRealLinuxKernel::SleepMilliseconds(unsigned milliseconds) {
    timespec wait{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

std::string TRealLinuxKernel::KernelRelease() {
    utsname name{};
    return ::uname(&name) == 0 ? std::string(name.release) : std::string();
}

} // namespace quenlith::linuxos
