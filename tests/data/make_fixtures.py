#!/usr/bin/env python3
"""Writes the drawing-file fixtures of the tests as the editor's files are: CP932, CR LF.

Run it from anywhere; it rewrites the .txt files beside it. The fixtures are committed,
so the tests do not need Python.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, lines):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp932"))


def view_lines(version4, scale=True):
    lines = ["120", "250", "1011", "700", "3000", "2000", "15", "30", "8",
             "5", "4", "2", "2", "6", "8",
             "15790320", "12632256", "",
             "255", "16777215", "-16777201", "8421504"]
    lines += [str(40 + c) for c in range(9)]
    lines += ["あり", "なし", "12", "400", "あり"]
    if version4:
        lines += ["ＭＳ ゴシック", "2", "1", "3"]
        if scale:
            lines.append("500")
    return lines


def trailer(version4):
    return ["endofdata", "//-------------フォームDATA----------------", "<form_data>"] + view_lines(version4)


# Unversioned: 9 lines a record (kind, x1, y1, x2, y2, text, pen, brush, plot key).
unversioned = [
    "11", "0", "0", "10000", "5000", "000012", "0", "7321527", "7",        # plot box
    "3", "100", "200", "300", "400", "0", "255", "65535", "0",             # old box: rectangle
    "1", "0", "0", "100", "50", "左上", "0", "0", "0",                     # anchored line
    "22", "10", "20", "110", "30", "本堂", "0", "0", "0",                  # text
    "2", "5", "5", "15", "25", "", "0", "0", "0",                          # old box kind 2
    "11", "20000", "0", "30000", "5000", "0", "0", "7321527", "15",       # second plot
]
write("unversioned_data.txt", unversioned + trailer(False))

# Ver2.00: 17 lines (9 as above, then x3, y3, x4, y4, then four lines ignored).
ver2 = ["Ver2.00",
        "1", "0", "0", "100", "50", "右上", "0", "0", "0", "7", "7", "7", "7", "9", "9", "9", "9",
        "11", "0", "0", "4000", "3000", "000031", "0", "7321527", "20", "4000", "3000", "0", "3000",
        "0", "0", "0", "0",
        "22", "0", "0", "10", "90", "山門", "0", "0", "0", "10", "90", "0", "90", "0", "0", "0", "0",
        "3", "0", "0", "50", "50", "0", "0", "0", "0", "50", "50", "0", "50", "0", "0", "0", "0",
        ]
write("ver2_data.txt", ver2 + trailer(False))

# Ver3.00: 19 lines (17 as above, then set-aside flag and share-set id).
ver3 = ["Ver3.00",
        "22", "0", "0", "0", "0", "鐘楼", "0", "0", "0", "0", "500", "0", "500", "1", "1", "1", "1",
        "0", "0",
        "11000", "0", "0", "4000", "0", "000044", "0", "7321527", "31", "4000", "3000", "0", "3000",
        "0", "0", "0", "0", "-1", "31",
        "11000", "0", "0", "4000", "0", "000045", "0", "7321527", "32", "4000", "3000", "0", "3000",
        "0", "0", "0", "0", "0", "31",
        "1", "0", "0", "100", "50", "左上", "0", "0", "0", "100", "50", "100", "50", "0", "0", "0", "0",
        "0", "0",
        ]
write("ver3_data.txt", ver3 + trailer(False))


def rec4(kind, pts, text, pen, brush, key, aux, set_aside, share, owner, width, pstyle, bstyle,
         is_plot, font="ＭＳ 明朝"):
    (x1, y1), (x2, y2), (x3, y3), (x4, y4) = pts
    return [str(kind), x1, y1, x2, y2, text, str(pen), str(brush), str(key), x3, y3, x4, y4,
            *aux, set_aside, str(share), str(owner), str(width), str(pstyle), str(bstyle),
            is_plot, font]


RECT = (("0", "0"), ("4000.5", "0"), ("4000.5", "3000.25"), ("0", "3000.25"))
ZERO4 = ("0", "0", "0", "0")
ver4 = ["Ver4.00"]
ver4 += rec4(11000, RECT, "000123", 0, 7321527, 40, ("5", "0", "0", "0"), "0", 0, 0, 1, 0, 0, "-1")
ver4 += rec4(11000, RECT, "0", 0, 7321527, 41, ("5", "0", "0", "0"), "-1", 40, 0, 1, 0, 0, "-1")
ver4 += rec4(11000, RECT, "0", 0, 7321527, 99, ZERO4, "0", 0, 0, 1, 0, 0, "0")          # not a plot
ver4 += rec4(22, (("10", "10"), ("10", "10"), ("200", "40"), ("200", "40")), "<form_data>",
             0, 0, 0, ("1", "0", "0", "0"), "0", 0, 5, 1, 0, 1, "0")                      # member of 5
ver4 += rec4(30, (("0", "0"),) * 4, "0", 0, 0, 0, ZERO4, "0", 0, 0, 1, 0, 1, "0")        # group
ver4 += rec4(22, (("0", "500"), ("0", "500"), ("300", "540"), ("300", "540")),
             "～－髙①\ue000ｱ\\", 255, 0, 0, ("2", "0", "0", "0"), "0", 0, 1, 1, 9, 9, "0",
             "ＭＳ ゴシック")                                                             # owner 1 is no parent
ver4 += rec4(3, (("0", "0"), ("0", "0"), ("100", "100"), ("100", "100")), "0", 16711680,
             4294967295, 0, ("100", "50", "0", "50"), "0", 0, 6, 3, 2, 6, "False")       # owner is itself
write("ver4_data.txt", ver4 + trailer(True))

# A drawing whose records stop before "endofdata".
write("cut_data.txt", ver4[:1 + 25 + 10])
# A number where a number stands is no number.
bad = list(ver4)
bad[1 + 25 + 2] = "12,5"
write("badnumber_data.txt", bad + trailer(True))
# Records complete, but no view section at all.
write("noview_data.txt", ver4 + ["endofdata"])
