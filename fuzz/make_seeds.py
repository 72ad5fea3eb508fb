#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets that the fixtures and the sample temple do
not give on their own: the families of damage a user's or the ledger's files can show
(cut files, single fields made empty, non-numeric, out of range or non-finite, invalid
CP932 bytes, other line ends, a byte-order mark, owner loops, unsafe names).

Run it from anywhere; it rewrites fuzz/seeds/<target>/ beside it. The seeds are committed,
so fuzzing needs no Python. scripts/fuzz.sh adds the fixtures and the sample files.
"""
import os
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DATA = os.path.join(ROOT, "tests", "data")
SAMPLE = os.path.join(ROOT, "samples", "temple")

BAD_FIELDS = ["", "abc", "1e309", "nan", "2147483648", "-2147483649", "99999999999999999999", "-0x10"]


def lines_of(path):
    with open(path, "rb") as f:
        return f.read().split(b"\r\n")[:-1]


def join(lines, end=b"\r\n"):
    return b"".join(l + end for l in lines)


class Seeds:
    def __init__(self, target):
        self.dir = os.path.join(HERE, "seeds", target)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.n = 0

    def add(self, data, prefix=b""):
        self.n += 1
        with open(os.path.join(self.dir, "%03d" % self.n), "wb") as f:
            f.write(prefix + data)


def damaged(lines, indices, seeds, prefix=b""):
    """Cut after each line, and each line in indices replaced by one bad field in turn."""
    for cut in range(len(lines)):
        seeds.add(join(lines[:cut]), prefix)
    for k, i in enumerate(indices):
        bad = BAD_FIELDS[k % len(BAD_FIELDS)].encode()
        seeds.add(join(lines[:i] + [bad] + lines[i + 1:]), prefix)


def encodings(lines, seeds, text_line, prefix=b""):
    seeds.add(join(lines, b"\n"), prefix)
    seeds.add(join(lines, b"\r"), prefix)
    seeds.add(b"\xef\xbb\xbf" + join(lines), prefix)
    bad = list(lines)
    bad[text_line] = b"\x81\x0d\x82\xff\xfd\x80\xa0" + bad[text_line] + b"\x9f"
    seeds.add(join(bad), prefix)


# The drawing data file: the version-4 fixture and the oldest layout, damaged line by
# line in their heads (first records) and view sections.
drawing = Seeds("fuzz_drawing_file")
v4 = lines_of(os.path.join(DATA, "ver4_data.txt"))
# The last marker: a text figure of the fixture holds one too.
marker = len(v4) - 1 - v4[::-1].index(b"<form_data>")
damaged(v4[:27] + v4[marker - 3:], list(range(1, 26)) + list(range(28, 28 + 44)), drawing)
encodings(v4, drawing, 6)
old = lines_of(os.path.join(DATA, "unversioned_data.txt"))
damaged(old[:19], list(range(0, 9)), drawing)
encodings(old, drawing, 5)
# Two groups that own each other, and a member that owns itself.
loop = [b"Ver4.00"]
for i, owner in ((1, 2), (2, 1), (3, 3)):
    loop += [b"30", b"0", b"0", b"10", b"10", b"0", b"0", b"0", b"0", b"10", b"10", b"0", b"10",
             b"0", b"0", b"0", b"0", b"0", b"0", str(owner).encode(), b"1", b"0", b"1", b"0", b"x"]
seeds_loop = loop + [b"endofdata"]
drawing.add(join(seeds_loop))

# The display settings (first byte: 0 after a version-4 drawing, 1 after an older one).
view = Seeds("fuzz_view_settings")
section = v4[marker + 1:]
for prefix in (b"\x00", b"\x01"):
    damaged(section, list(range(len(section))), view, prefix)
    encodings(section, view, 17, prefix)

# The drawing request: names that would leave the folder, the answered marker, targets.
request = Seeds("fuzz_drawing_request")
for line in ['"墓地","","","明星寺","","本堂裏墓地"', '"墓地","","","明星寺","OK","本堂裏墓地"',
             '"墓地","","-2147483648","明星寺","","本堂裏墓地"', '"墓地","","2147483648","明星寺","",""',
             '"..","","","明星寺","","x"', '"墓地","","","../etc","","x"', '"墓地","","","寺","","a\\b"',
             '"墓地","","abc","寺","","x"', '墓地,,,寺,,新規図面,余り', '"墓地"', '']:
    request.add(line.encode("cp932") + b"\r\n")
request.add(b'"\x81","","","\xff","","\x82\r\n')

# The household export: the sample, then rows damaged one way each.
households = Seeds("fuzz_household_table")
rows = lines_of(os.path.join(SAMPLE, "檀家厨子.csv"))
for bad in [b'"abc","x","","","","","","",""', b'"12"', b'', b'"1,2","a"b","c"', b'\x81\x40"5",\xff',
            b'"99999999999","a","","","","","","9",""', b'  7  ,  \t']:
    households.add(join(rows[:10] + [bad] + rows[10:20]))
encodings(rows[:20], households, 3)

# The hand-over file: the sample, then lines damaged one way each.
handover = Seeds("fuzz_handover")
plots = lines_of(os.path.join(SAMPLE, "受渡し_fm.csv"))
for bad in [b'5,-2147483649,"a","","",-1,0,"x"', b'5,99999999999999999999,"a","","",-1,0,"x"',
            b'6,0,"a"', b'0,0,"","","",-1,0,""', b'999,12,"n","r","g",-1,3,"d"', b'endofdata',
            b'', b'2147483647,1,"","","",-1,0,""', b'5,1,"a,b","c""d","",-1,x,""']:
    handover.add(join(plots[:8] + [bad] + plots[8:16]))
encodings(plots[:16], handover, 2)

# The ledger's requests.
ledger = Seeds("fuzz_ledger_request")
for line in [b"25\r\n", b"-4\r\n", b"0\r\n", b"abc\r\n", b"-2147483648\r\n", b"2147483647", b"-12\r\n99\r\n",
             b"2\x82", b"\xef\xbb\xbf5\r\n", b" 7 \r\n", b"+3\n"]:
    ledger.add(line)

# Part files (first byte: the name, 0 "*.bbh", 1 "*.bhn", 2 "*_data.txt", 3 "*.BHN";
# bits 2-3: the drawing's keys left, 2 one, 3 none): a part registered from the sample,
# the same as an old part without font lines, a group, a polygon plot, damaged links.
part = Seeds("fuzz_part_file")
temple = lines_of(os.path.join(SAMPLE, "明星寺墓地本堂裏墓地_data.txt"))
records = [temple[1 + 25 * k:26 + 25 * k] for k in range(6)]


def record(kind, pts, text=b"0", key=0, owner=0, plot=b"0", font=b"MS Gothic"):
    return [str(kind).encode(), pts[0], pts[1], pts[2], pts[3], text, b"255", b"7321527", str(key).encode(),
            pts[4], pts[5], pts[6], pts[7], b"1", b"0", b"0", b"0", b"0", b"0", str(owner).encode(),
            b"1", b"0", b"1", plot, font]


def part_of(recs, font=True):
    lines = [b"Ver4.00"]
    for r in recs:
        lines += r if font else r[:24]
    return lines + [b"endofdata"]


box = [b"0", b"0", b"4000", b"0", b"4000", b"3000", b"0", b"3000"]
line = [b"0", b"0", b"0", b"0", b"100", b"50", b"100", b"50"]
hall = [record(1, line, owner=3), record(22, box, "山門".encode("cp932"), owner=3), record(30, box)]
polygon = [record(77, line, owner=4, plot=b"-1") for _ in range(3)] + [record(31, box, plot=b"-1")]
registered = part_of(records)
part.add(join(registered), b"\x00")
part.add(join(part_of(records, False)), b"\x01")
part.add(join(registered), b"\x08")
part.add(join(registered), b"\x0c")
part.add(join(part_of(hall + polygon)), b"\x00")
part.add(join(part_of(polygon)), b"\x08")
part.add(join(part_of(hall + polygon, False)), b"\x03")
part.add(join([b"Ver4.00", b"endofdata"]), b"\x00")
# Links to nothing, to itself, to a figure that owns nothing, and two groups owning each other.
for owners in ((9, 0, 0), (1, 0, 0), (0, 1, 0), (2, 1, 0), (-5, 2147483647, 3)):
    recs = [record(30, box, owner=owners[0]), record(30, box, owner=owners[1]), record(1, line, owner=owners[2])]
    part.add(join(part_of(recs)), b"\x00")
small = part_of(hall[:2])
damaged(small, list(range(1, 51)), part, b"\x00")
encodings(small, part, 6, b"\x00")
damaged(part_of(hall[:1], False), list(range(1, 25)), part, b"\x01")

for s in (drawing, view, request, households, handover, ledger, part):
    print(os.path.basename(s.dir), s.n)
