#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into corpus/<name>/.

The byte layouts follow the readers at the top of each fuzz_<name>.cpp.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def u16(text):
    return text.encode("utf-16-le")


def preview(cw, ch, orient, size, angle, x, y, color, pos, frame, cx, cy, jp, form):
    return struct.pack("<iihihiiIHHiiB", cw, ch, orient, size, angle, x, y, color, pos, frame,
                       cx, cy, jp) + u16(form)


def finishing(cw, ch, w, h, binding, staple, punch, n, flags, unit, paper, duplex):
    return struct.pack("<iiiiIIIIBBB", cw, ch, w, h, binding, staple, punch, n, flags, unit,
                       len(paper)) + paper + duplex


def keywords(installed, memory, hdd, punch, stored, feature, option, data):
    return struct.pack("<IiiiHBB", installed, memory, hdd, punch, stored, len(feature),
                       len(option)) + feature + option + data


def entries(*pairs):
    return b"".join(f + b"\0" + o + b"\0\n" for f, o in pairs)


DRIVER_DATA = entries((b"ZDOptionMPF", b"False"), (b"ZDOptionDuplex", b"False"),
                      (b"ZDFinisher", b"False"), (b"ZDPunchUnit", b"None"),
                      (b"ZDOptionTray", b"0"), (b"ZDHDD", b"False"),
                      (b"InstalledMemory", b"128MB"))

SEEDS = {
    "preview_geometry": [
        preview(158, 196, 1, 72, 45, 0, 0, 0xC0C0C0, 3, 0, 60, 16, 0, "A4"),
        preview(158, 196, 1, 72, 30, 0, 0, 0xC0C0C0, 3, 3, 60, 16, 0, "A4"),
        preview(158, 196, 2, 222, -90, 100, -100, 0xFF, 6, 1, 200, 40, 0, "Letter"),
        preview(158, 196, 1, 221, 180, 0, 0, 0, 0, 2, 80, 20, 1, "\u306f\u304c\u304d"),
        preview(16, 200, 1, 72, 45, 0, 0, 0, 3, 0, 60, 16, 0, "A4"),
        preview(300, 240, 1, 600, 405, -1000, 1000, 0x123456, 9, 3, 900, 120, 0, "Legal13"),
    ],
    "page_list": [u16(t) for t in ["1,3,5-12", "01", "12345", "1--2", "1-2-3", ",",
                                   "10-20,30,9999", "1, 2 - 3;4"]],
    "form_name": [u16(t) for t in ["A B(1)", "Letter", "Form%1", "\u8868\u683c{x}", "a\tb"]],
    "option_keywords": [
        keywords(0x2B, 256, 1, 2, len(DRIVER_DATA), b"ZDHDD", b"True", DRIVER_DATA),
        keywords(0, 0, 0, 0, len(DRIVER_DATA), b"InstalledMemory", b"  512MB", DRIVER_DATA),
        keywords(0x7F, 384, 0, 3, 200, b"ZDOptionTray", b"-2147483649",
                 DRIVER_DATA[:-1] + b"ZDHDD\0False"),
    ],
    "about_info": [
        b"*PPD-Adobe: \"4.3\"\r\n*FileVersion: \"3.2.105\"\r\n"
        b"*Copyright Copyright (C) 2026 Zed Printing Systems.\r\n",
        b"11/20/2026,3.2.105.0",
        b"C:\\windows\\system32\\spool\\drivers\\x64\\3\\zdcp95.ini|C:\\d\\ZDCP95.VER",
        b"*FileVersion: \"1.0\r*Copyright\r",
    ],
    "watermark_record": [
        u16("72,0,45,0,0,12632256,ABC,HeiseiMin-W3-90ms-RKSJ-H,0,0,0,3,0,0,0,0"),
        u16("0x2D,-45,4-5,0,0,4294967295,a\\,b\\;c\\\\d,Face,700,1,128,6,3,1,1,5"),
        u16("1,2,3"),
    ],
    "job_storage": [
        bytes([17, 14]) + b"Proof, Secure " + u16("Quarterly\0"),
        bytes([5, 0]) + u16("1234\0"),
        bytes([3, 3]) + b",,," + u16("ab\"c\u00e9"),
    ],
    "finishing": [
        finishing(150, 150, 2100, 2970, 2, 1, 1, 0, 3, 2, b"A4", b"None"),
        finishing(150, 150, 2970, 2100, 0, 2, 3, 1, 1, 3, b"A4", b"DuplexNoTumble"),
        finishing(20, 300, 1, 100000, 4, 9, 9, 6, 2, 1, b"Legal", b"None"),
        finishing(150, 150, 2100, 2970, 3, 1, 2, 0, 3, 4, b"A5", b"None"),
    ],
    "hex_bytes": [
        bytes([8]) + u16("0102ABff"),
        bytes([2]) + u16("0G12"),
        bytes([3]) + u16("123456789"),
    ],
}


def main():
    for name, seeds in SEEDS.items():
        folder = os.path.join(HERE, "corpus", name)
        os.makedirs(folder, exist_ok=True)
        for i, data in enumerate(seeds):
            with open(os.path.join(folder, "seed%02d" % i), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
