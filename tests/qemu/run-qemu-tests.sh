#!/usr/bin/env bash
# Boots a Debian kernel under QEMU with ide-cd and scsi-cd drives, runs the static probe in
# the guest and checks what it printed against the drives' raw answers (sg_raw) and the media.
# Usage: run-qemu-tests.sh PROBE WORKDIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
probe=$(readlink -f "$1")
work=$(mkdir -p "$2" && cd "$2" && pwd)
cd "$work"

# The kernel, extracted from Debian's package without running its install hooks.
if [ ! -d kernel ]; then
  pkg=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-/{print $2; exit}')
  rm -rf dl && mkdir dl
  (cd dl && apt-get download "$pkg" >/dev/null 2>&1)
  dpkg-deb -x dl/*.deb kernel.tmp && mv kernel.tmp kernel && rm -rf dl
fi
vmlinuz=$(ls kernel/boot/vmlinuz-*)
moddir=$(ls -d kernel/lib/modules/*)

# The initramfs: busybox, the modules of the CD path, sg_raw with its libraries, the probe.
rm -rf initramfs && mkdir -p initramfs/{bin,modules,proc,sys,dev,tmp,etc}
cp /bin/busybox initramfs/bin/busybox
cp "$here/guest-init.sh" initramfs/init && chmod +x initramfs/init
cp "$probe" initramfs/bin/quenlith-probe
echo "cdrom:x:24:" > initramfs/etc/group
: > initramfs/modules.order
for ko in $(python3 "$here/modules.py" "$moddir" sr_mod ata_piix ata_generic ahci virtio_pci virtio_scsi); do
  cp "$ko" initramfs/modules/ && basename "$ko" >> initramfs/modules.order
done
cp /usr/bin/sg_raw initramfs/bin/
for lib in $(ldd /usr/bin/sg_raw | grep -o '/[^ ]*'); do
  mkdir -p "initramfs$(dirname "$lib")" && cp -L "$lib" "initramfs$lib"
done
(cd initramfs && find . | cpio -o -H newc 2>/dev/null | gzip -1) > initrd.gz

# Media: a small ISO with a volume label, and a larger-than-CD image that drives report as DVD.
mkdir -p media/files && echo "Quenlith test medium" > media/files/README.TXT
genisoimage -quiet -V QUENLITH_CD -J -r -o media/cd.iso media/files
genisoimage -quiet -V QUENLITH_DVD -J -r -o media/dvd.img media/files
truncate -s 1G media/dvd.img

boot() {
  local name=$1 drives=$2; shift 2
  local start=$(date +%s%N)
  timeout 300 qemu-system-x86_64 -machine pc,accel=tcg -smp 2 -m 512 -nographic -no-reboot \
    -kernel "$vmlinuz" -initrd initrd.gz \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 quenlith.drives=$drives" \
    -device virtio-scsi-pci,id=scsi0 "$@" > "$name.log" 2>&1 || true
  echo "$name: $(( ($(date +%s%N) - start) / 1000000 )) ms" | tee "$name.time"
}

# Boot 1: ide-cd with the labelled CD, scsi-cd with the DVD image, an empty scsi-cd.
boot boot1 3 \
  -drive if=none,id=c0,media=cdrom,readonly=on,file=media/cd.iso -device ide-cd,drive=c0,bus=ide.1,unit=0 \
  -drive if=none,id=c1,media=cdrom,readonly=on,file=media/dvd.img \
  -device scsi-cd,drive=c1,bus=scsi0.0,scsi-id=1,vendor=QUENLITH,product=SCSI-DVD,ver=9.87 \
  -drive if=none,id=c2,media=cdrom -device scsi-cd,drive=c2,bus=scsi0.0,scsi-id=2,vendor=QUENLITH,product=SCSI-EMPTY,ver=1.00
# Boot 2: an empty ide-cd, ide-cd with the DVD image, scsi-cd with the labelled CD. The DVD
# ide-cd sits on AHCI: on the PATA controller, QEMU's ATAPI answer to the 21-byte READ DVD
# STRUCTURE leaves libata's PIO transfer hanging until the command's 120 s time-out.
boot boot2 3 \
  -drive if=none,id=c0,media=cdrom -device ide-cd,drive=c0,bus=ide.1,unit=0 \
  -device ahci,id=ahci0 \
  -drive if=none,id=c1,media=cdrom,readonly=on,file=media/dvd.img -device ide-cd,drive=c1,bus=ahci0.0 \
  -drive if=none,id=c2,media=cdrom,readonly=on,file=media/cd.iso \
  -device scsi-cd,drive=c2,bus=scsi0.0,scsi-id=3,vendor=QUENLITH,product=SCSI-CD,ver=2.00

python3 "$here/check.py" boot1.log boot2.log
