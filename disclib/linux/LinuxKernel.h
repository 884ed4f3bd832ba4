// What the Linux services need of the kernel: a seam, so the services run over the real
// kernel in use and over a fake one in tests.
#pragma once

#include <optional>
#include <scsi/sg.h>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quenlith::linuxos {

// Who the process is, for the pass-through decision.
struct TProcessCredentials {
    bool root = false;               // effective uid 0
    bool rawIo = false;              // CAP_SYS_RAWIO in the effective set
    std::vector<gid_t> groups;       // effective gid and supplementary groups
    std::optional<gid_t> driveGroup; // the group that owns the optical drive nodes
};

class TLinuxKernel {
public:
    virtual ~TLinuxKernel() = default;

    // N of every optical drive srN the kernel has, ascending.
    virtual std::vector<unsigned> OpticalDriveNumbers() = 0;
    // open(2): a descriptor, or -1 with errno set.
    virtual int Open(const std::string& path, int flags) = 0;
    virtual int Close(int fd) = 0;
    // ioctl(fd, SG_IO, &header): 0, or -1 with errno set.
    virtual int SgIo(int fd, sg_io_hdr_t& header) = 0;
    // ioctl(fd, request, 0) for CDROMEJECT and CDROMCLOSETRAY: 0, or -1 with errno set.
    virtual int DoorIoctl(int fd, unsigned long request) = 0;
    // The label of the file system on the medium in the device (ISO 9660, Joliet, UDF, ...):
    // empty optional when no file system can be read, "" for one without a label.
    virtual std::optional<std::string> FileSystemLabel(const std::string& devicePath) = 0;
    virtual TProcessCredentials Credentials() = 0;
    virtual void SleepMilliseconds(unsigned milliseconds) = 0;
    virtual std::string KernelRelease() = 0;
};

// The running kernel: /sys/class/block, /dev, libblkid, /proc/self/status.
class TRealLinuxKernel final : public TLinuxKernel {
public:
    std::vector<unsigned> OpticalDriveNumbers() override;
    int Open(const std::string& path, int flags) override;
    int Close(int fd) override;
    int SgIo(int fd, sg_io_hdr_t& header) override;
    int DoorIoctl(int fd, unsigned long request) override;
    std::optional<std::string> FileSystemLabel(const std::string& devicePath) override;
    TProcessCredentials Credentials() override;
    void SleepMilliseconds(unsigned milliseconds) override;
    std::string KernelRelease() override;
};

} // namespace quenlith::linuxos
