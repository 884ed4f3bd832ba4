#!/usr/bin/env python3
"""Checks what the probe printed in the QEMU guest.

Every drive's probe output is compared with an independent decoding of the raw answers that
sg_raw got from the same drive for the same command blocks, and with what the test set up
(bus, medium, volume label). The tray commands are checked by the media event status the
drive reports after each of them. Usage: check.py BOOT1.log BOOT2.log
"""
import json
import re
import sys

PROFILES = {0x0000: "No Current Profile", 0x0001: "Non Removable Disk", 0x0002: "Removable Disk",
            0x0003: "Magneto Optical Erasable", 0x0004: "Optical Write Once", 0x0005: "AS-MO",
            0x0008: "CD-ROM", 0x0009: "CD-R", 0x000A: "CD-RW", 0x0010: "DVD-ROM",
            0x0011: "DVD-R SequentialRecording,", 0x0012: "DVD-RAM",
            0x0013: "DVD-RW Restricted Overwrite", 0x0014: "DVD-RW Sequential Recording",
            0x001A: "DVD+RW", 0x001B: "DVD+R", 0x0020: "DDCD-ROM", 0x0021: "DDCD-R",
            0x0022: "DDCD-RW", 0xFFFF: "UNKNOWN"}
DVD_PROFILES = {0x10, 0x11, 0x12, 0x13, 0x14, 0x1A, 0x1B}
CAPABILITIES = [(2, 0, "Read CD-R"), (2, 1, "Read CD-RW"), (2, 2, "Read Method 2"),
                (2, 3, "Read DVD-ROM"), (2, 4, "Read DVD-R / DVD-RW"), (2, 5, "Read DVD-RAM"),
                (3, 0, "Write CD-R"), (3, 1, "Write CD-RW"), (3, 2, "Write Test"),
                (3, 4, "Write DVD-R / DVD-RW"), (3, 5, "Write DVD-RAM")]

# What each boot's drives are: how to recognise the drive, and its medium and label.
EXPECTED = {
    "boot1": [
        {"where": "PATA", "medium": "CD-ROM", "label": "QUENLITH_CD", "vendor": "QEMU    "},
        {"where": "SCSI-DVD", "medium": "DVD-ROM", "label": "QUENLITH_DVD", "vendor": "QUENLITH",
         "revision": "9.87"},
        {"where": "SCSI-EMPTY", "medium": "No Current Profile", "label": "", "vendor": "QUENLITH"},
    ],
    "boot2": [
        {"where": "PATA", "medium": "No Current Profile", "label": "", "vendor": "QEMU    "},
        {"where": "AHCI", "medium": "DVD-ROM", "label": "QUENLITH_DVD", "vendor": "QEMU    "},
        {"where": "SCSI-CD", "medium": "CD-ROM", "label": "QUENLITH_CD", "vendor": "QUENLITH",
         "revision": "2.00"},
    ],
}

passed = failed = 0


def check(what, got, want):
    global passed, failed
    if got == want:
        passed += 1
    else:
        failed += 1
        print(f"FAIL {what}: got {got!r}, want {want!r}")


def word(b, at):
    return (b[at] << 8) | b[at + 1]


def trim(s):
    return s.strip("".join(chr(c) for c in range(33)))


def replace_control(s):
    return "".join(" " if (1 <= ord(c) <= 31 or ord(c) >= 128) else c for c in s)


def identification(inquiry):
    text = inquiry[8:100].split(b"\0")[0].decode("latin-1") if len(inquiry) > 8 else ""
    return {"vendor": text[0:8], "productId": text[8:24],
            "revision": replace_control(trim(text[24:28])), "vendorSpec": trim(text[28:48])}


def report_lines(mode_sense):
    page = bytearray(440)
    page[: len(mode_sense)] = mode_sense[:440]
    at = 8 + word(page, 6)
    fields = page[at: at + 20] if at + 20 <= 440 else bytes(20)
    lines, text = [], ""
    for n, (byte, bit, name) in enumerate(CAPABILITIES):
        if fields[byte] >> bit & 1:
            text += ("\r\n" if n else "") + name
    text += f"\r\nDevice Buffer: {word(fields, 12)}k"
    text += f"\r\nMax Read Speed: {round(word(fields, 8) / 176.46)}x"
    text += f"\r\nMax Write Speed: {round(word(fields, 18) / 176.46)}x"
    return text.split("\r\n")


def dvd_format(raw):
    b4, b5, b6, b7 = raw[4], raw[5], raw[6], raw[7]
    pick = lambda table, v, other: table.get(v, other)
    return {
        "bookType": pick({0: "DVD-ROM", 1: "DVD-RAM", 2: "DVD-R", 3: "DVD-RW", 9: "DVD+RW", 10: "DVD+R"}, b4 >> 4, "Unknown"),
        "discSize": pick({0: "120mm", 1: "80mm"}, b5 >> 4, "Unknown"),
        "maximumRate": pick({0: "2.52 Mbps", 1: "5.04 Mbps", 2: "10.08 Mbps", 15: "Not Specified"}, b5 & 15, "Unknown"),
        "numberOfLayers": str(b6 >> 5 & 3),
        "layerType": pick({1: "Layer contains embossed data", 2: "Layer contains recordable area",
                           4: "Layer contains rewritable area", 8: "Reserved"}, b6 & 15, "Unknown"),
        "linearDensity": pick({0: "0.267 um/bit", 1: "0.293 um/bit", 2: "0.409 to 0.435 um/bit",
                               4: "0.280 to 0.291 um/bit", 8: "0.353 um/bit"}, b7 >> 4, "Reserved"),
        "trackDensity": pick({0: "0.74 um/track", 1: "0.80 um/track", 2: "0.615 um/track"}, b7 & 15, "Reserved"),
    }


def parse(log):
    text = open(log, "rb").read().decode("latin-1")
    drives, current, listing = {}, None, None
    for block in re.finditer(r"@@LIST-BEGIN\r?\n(.*?)@@LIST-END rc=(\d+) cs=(\d+)", text, re.S):
        listing = (json.loads(block.group(1)), int(block.group(2)), int(block.group(3)))
    for line in text.splitlines():
        m = re.match(r"@@DRIVE (\S+) letter=(\S) path=(\S+) vendor=(\S*)", line)
        if m:
            current = drives.setdefault(m.group(1), {"letter": m.group(2), "path": m.group(3), "raw": {}})
        m = re.match(r"@@RAW (\S+) (\S+) rc=(\d+) data=([0-9a-f]*)", line)
        if m:
            drives[m.group(2)]["raw"][m.group(1)] = (int(m.group(3)), bytes.fromhex(m.group(4)))
        m = re.match(r"@@(EJECT|CLOSE) (\S+) rc=(\d+)", line)
        if m:
            drives[m.group(2)][m.group(1)] = int(m.group(3))
    for block in re.finditer(r"@@PROBE-BEGIN (\S+)\r?\n(.*?)@@PROBE-END \S+ rc=(\d+) cs=(\d+)", text, re.S):
        drives[block.group(1)]["probe"] = (json.loads(block.group(2)), int(block.group(3)), int(block.group(4)))
    return listing, drives, "@@DONE" in text


def where(drive):
    product = identification(drive["raw"]["INQUIRY"][1])["productId"].strip()
    if product.startswith("SCSI-"):
        return product
    return "PATA" if "0000:00:01.1" in drive["path"] else "AHCI"


def check_boot(name, log):
    listing, drives, done = parse(log)
    check(f"{name}: guest ran to its end", done, True)
    if listing is None:
        check(f"{name}: drive list printed", False, True)
        return
    check(f"{name}: list exit code", listing[1], 0)
    expected = {e["where"]: e for e in EXPECTED[name]}
    check(f"{name}: drives found", sorted(where(d) for d in drives.values()), sorted(expected))
    entries = [d["entry"] for d in listing[0]["drives"]]
    for dev, d in sorted(drives.items()):
        tag = f"{name} {dev} ({where(d)})"
        want = expected.get(where(d))
        if want is None or "probe" not in d:
            check(f"{tag}: probed", False, True)
            continue
        probe_json, rc, _cs = d["probe"]
        check(f"{tag}: probe exit code", rc, 0)
        got = probe_json["drives"][0]
        check(f"{tag}: device path", got["device"], dev)
        check(f"{tag}: letter", got["letter"], chr(ord("D") + int(dev[7:])))
        # The list as the selector holds it.
        check(f"{tag}: entry", got["entry"], f"{d['letter']}: [{want['label']}]")
        check(f"{tag}: entry in the list", got["entry"] in entries, True)
        # Identification against the raw INQUIRY answer.
        ident = identification(d["raw"]["INQUIRY"][1])
        for key, value in ident.items():
            check(f"{tag}: {key}", got[key], value)
        check(f"{tag}: vendor as set up", got["vendor"], want["vendor"])
        if "revision" in want:
            check(f"{tag}: revision as set up", got["revision"], want["revision"])
        # Medium against the raw GET CONFIGURATION answer and the set-up medium.
        profile = word(d["raw"]["GETCONFIG"][1], 6)
        check(f"{tag}: medium from the current profile", got["medium"], PROFILES.get(profile))
        check(f"{tag}: medium as set up", got["medium"], want["medium"])
        check(f"{tag}: analysis message", got["mediumMessage"], "The Inserted media is " + want["medium"])
        # Capability report against the raw MODE SENSE(10) answer (zeros where it failed).
        rc_mode, mode = d["raw"]["MODESENSE"]
        check(f"{tag}: capability report", got["capabilities"], report_lines(mode if rc_mode == 0 else b""))
        # DVD physical format against the raw READ DVD STRUCTURE answer.
        rc_dvd, dvd = d["raw"]["DVDSTRUCT"]
        if profile in DVD_PROFILES:
            check(f"{tag}: DVD read by sg_raw", rc_dvd, 0)
            check(f"{tag}: DVD physical format", got["dvdPhysicalFormat"], dvd_format(dvd) if rc_dvd == 0 else None)
        else:
            check(f"{tag}: no DVD physical format", got["dvdPhysicalFormat"], None)
        # The tray, as the drive reports it in its media event status (byte 5, bit 0: open).
        check(f"{tag}: eject exit code", d.get("EJECT"), 0)
        check(f"{tag}: tray open after eject", d["raw"]["EVENT-AFTER-EJECT"][1][5] & 1, 1)
        check(f"{tag}: close exit code", d.get("CLOSE"), 0)
        check(f"{tag}: tray closed after close", d["raw"]["EVENT-AFTER-CLOSE"][1][5] & 1, 0)
        print(f"{tag}: probe run {d['probe'][2] * 10} ms in the guest")
    print(f"{name}: listing all drives {listing[2] * 10} ms in the guest")


for path in sys.argv[1:]:
    check_boot(re.sub(r"\.log$", "", path.split("/")[-1]), path)
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
