#!/bin/busybox sh
# /init of the test guest: loads the CD/DVD path, then runs the probe and sg_raw on every
# optical drive and prints what they answered between @@ markers on the serial console.
/bin/busybox --install -s /bin
export PATH=/bin:/usr/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for m in $(cat /modules.order); do insmod "/modules/$m" 2>/dev/null; done

want=$(sed -n 's/.*quenlith.drives=\([0-9]*\).*/\1/p' /proc/cmdline)
i=0
while [ "$(ls /sys/class/block | grep -c '^sr')" -lt "${want:-1}" ] && [ $i -lt 200 ]; do
  sleep 0.1; i=$((i + 1))
done
sleep 1

uptime_cs() { read up _ < /proc/uptime; echo "${up%.*}${up#*.}"; }

hex() { [ -s "$1" ] && od -An -v -tx1 "$1" | tr -d ' \n'; echo; }

# raw NAME DEV LEN CDB...: one command through sg_raw, its status and data in hex.
raw() {
  name=$1 dev=$2 len=$3; shift 3
  rm -f /tmp/raw.bin
  if [ "$len" -gt 0 ]; then
    sg_raw -o /tmp/raw.bin -r "$len" "$dev" "$@" >/tmp/raw.txt 2>&1
  else
    sg_raw "$dev" "$@" >/tmp/raw.txt 2>&1
  fi
  echo "@@RAW $name $dev rc=$? data=$(hex /tmp/raw.bin)"
}

echo "@@BOOT"
t0=$(uptime_cs)
echo "@@LIST-BEGIN"
quenlith-probe --json
echo "@@LIST-END rc=$? cs=$(( $(uptime_cs) - t0 ))"

for sys in /sys/class/block/sr*; do
  n=${sys##*/sr}
  dev=/dev/sr$n
  letter=$(echo DEFGHIJKLMNOPQRSTUVWXYZ | cut -c$((n + 1)))
  echo "@@DRIVE $dev letter=$letter path=$(readlink -f $sys/device) vendor=$(cat $sys/device/vendor | tr ' ' _)"
  raw INQUIRY $dev 100 12 00 00 00 64 00
  raw GETCONFIG $dev 114 46 02 00 00 00 00 00 00 72 00
  raw DVDSTRUCT $dev 21 ad 00 00 00 00 00 00 00 00 15 00 00
  raw MODESENSE $dev 440 5a 00 aa 00 00 00 00 01 b8 00
  t0=$(uptime_cs)
  echo "@@PROBE-BEGIN $dev"
  quenlith-probe --json --drive $letter
  echo "@@PROBE-END $dev rc=$? cs=$(( $(uptime_cs) - t0 ))"
  quenlith-probe --eject $letter >/dev/null; echo "@@EJECT $dev rc=$?"
  raw EVENT-AFTER-EJECT $dev 8 4a 01 00 00 10 00 00 00 08 00
  quenlith-probe --close $letter >/dev/null; echo "@@CLOSE $dev rc=$?"
  raw EVENT-AFTER-CLOSE $dev 8 4a 01 00 00 10 00 00 00 08 00
done
echo "@@DONE"
poweroff -f
