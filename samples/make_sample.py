#!/usr/bin/env python3
"""Writes the sample temple (明星寺, drawing 本堂裏墓地) into samples/temple/.

Everything here is invented: the temple, the households, the places, the numbers.
The output is the same on every run, so the files can be regenerated and diffed.
Run: python3 samples/make_sample.py
"""

import math
import os
import random
import struct

TEMPLE = "明星寺"
PLOT_KIND = "墓地"
DRAWING = "本堂裏墓地"
FONT = "ＭＳ 明朝"

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "temple")
IMAGE_DIR = os.path.join(OUT_DIR, "イメージ")

# Colours are $00BBGGRR.
BLACK = 0
DARK_GREY = 0x404040
GREY = 0x808080
NAVY = 0x800000
GREEN = 32768
LIGHT_GREEN = 8454016
KHAKI = 7321527
HALL_FILL = 0xD0E0E8      # pale wood
WATER_FILL = 0xF0D0A0     # light blue
STONE_FILL = 0xC0C0C0

# Brush style indices as the drawing file stores them.
BS_SOLID, BS_CLEAR = 0, 1
PS_SOLID, PS_DASH = 0, 1

PLOT_W, PLOT_H, PLOT_GAP = 4000, 3000, 1000
ROWS, COLS = 3, 4


def write_lines(path, lines):
    # The ledger side reads CP932 with CR LF after every line, the last one too.
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def real(v):
    # Whole values without a fraction, others with one decimal at most.
    if float(v).is_integer():
        return str(int(v))
    return repr(round(float(v), 1))


def q(s):
    return '"' + s + '"'


# ---------------------------------------------------------------- households

SURNAMES = [
    "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "中村", "小林", "加藤", "山田",
    "佐々木", "松本", "井上", "木村", "清水", "山崎", "池田", "橋本", "阿部", "石川",
    "中島", "石井", "前田", "岡田", "藤田", "後藤", "近藤", "遠藤", "青木", "坂井",
    "福田", "西村", "藤井", "金子", "岡本", "中野", "原田", "竹内", "小野", "田村",
    "和田", "森田", "上田", "内田", "柴田", "宮崎", "横山", "安藤", "大野", "谷口",
    "今井", "工藤", "増田", "丸山", "杉山", "大塚", "平野", "河野", "野口", "菅原",
    "久保", "佐野", "松尾", "菊地", "古川", "島田", "水野", "吉川", "西田", "飯田",
]
# Plain given names of older heads of household; pairings are checked by hand.
MALE = ["正男", "和夫", "博", "隆", "誠", "実", "豊", "幸雄", "義男", "昭夫",
        "敏夫", "光男", "達也", "健一", "信夫", "忠雄", "俊彦", "勝利", "清志", "弘",
        "孝", "修", "勉", "良一", "英明", "政男", "茂樹", "哲也", "正人", "康夫"]
FEMALE = ["和子", "節子", "恵子", "美代子", "千代子", "文子", "典子", "悦子", "智子", "静江"]

# District ID and name; the last one gathers the households living elsewhere.
DISTRICTS = [(1, "東町"), (2, "川原"), (3, "若葉台"), (4, "桜ヶ丘"), (5, "中通"),
             (6, "松ノ木"), (7, "宮前"), (8, "新田"), (9, "県外")]
LOCAL_TOWN = "北浜県西原郡若葉町"
FAR_TOWNS = ["南湊県潮見市緑町", "東峰県高森市本郷", "西岬県浜坂市栄町"]


def make_households(rnd):
    ids = sorted(rnd.sample(range(1, 181), 100))
    unpadded = set(rnd.sample(ids, 5))
    used_names = set()
    households = []
    for hid in ids:
        while True:
            surname = rnd.choice(SURNAMES)
            given = rnd.choice(FEMALE) if rnd.random() < 0.15 else rnd.choice(MALE)
            if (surname, given) not in used_names:
                used_names.add((surname, given))
                break
        if rnd.random() < 0.06:
            district = DISTRICTS[-1]
            addr1 = rnd.choice(FAR_TOWNS)
            addr2 = "%d-%d-%d" % (rnd.randint(1, 5), rnd.randint(1, 20), rnd.randint(1, 30))
            phone = "0987-%02d-%04d" % (rnd.randint(10, 99), rnd.randint(0, 9999))
            remarks = "遠方在住"
        else:
            district = DISTRICTS[rnd.randrange(len(DISTRICTS) - 1)]
            addr1 = LOCAL_TOWN
            addr2 = "%s%d-%d-%d" % (district[1], rnd.randint(1, 4), rnd.randint(1, 15),
                                    rnd.randint(1, 25))
            phone = "0123-%02d-%04d" % (rnd.randint(40, 49), rnd.randint(0, 9999))
            r = rnd.random()
            remarks = "総代" if r < 0.05 else "世話人" if r < 0.09 else \
                "永代供養" if r < 0.11 else ""
        households.append({
            "id": hid,
            "id_text": str(hid) if hid in unpadded else "%06d" % hid,
            "house": surname + "家",
            "head": surname + "　" + given,
            "district": district[1],
            "district_id": district[0],
            "addr1": addr1,
            "addr2": addr2,
            "phone": phone,
            "remarks": remarks,
        })
    return households


def household_lines(households):
    return [",".join(q(s) for s in (
        h["id_text"], h["house"], h["head"], h["district"], h["addr1"], h["addr2"],
        h["phone"], str(h["district_id"]), h["remarks"])) for h in households]


# ---------------------------------------------------------------- drawing

class Drawing:
    def __init__(self):
        self.records = []

    def add(self, kind, pts, text="0", pen=BLACK, brush=BLACK, plot_id=0,
            aux=(0, 0, 0, 0), owner=0, width=1, pen_style=PS_SOLID, brush_style=BS_CLEAR,
            is_plot=False):
        self.records.append({
            "kind": kind, "pts": pts, "text": text, "pen": pen, "brush": brush,
            "plot_id": plot_id, "aux": aux, "owner": owner,
            "width": width, "pen_style": pen_style, "brush_style": brush_style,
            "is_plot": is_plot,
        })
        return len(self.records)  # 1-based index, what OwnerIndex refers to

    def line(self, x1, y1, x2, y2, **kw):
        return self.add(1, [(x1, y1), (x1, y1), (x2, y2), (x2, y2)], **kw)

    def rect(self, x1, y1, x2, y2, kind=3000, **kw):
        return self.add(kind, [(x1, y1), (x2, y1), (x2, y2), (x1, y2)], **kw)

    def ellipse(self, x1, y1, x2, y2, **kw):
        # An ellipse lies in its box of four corners, like a rectangle. Its arc starts and
        # ends at the middle of its right side, as the ellipse tool leaves a whole one.
        mid = (y2 - y1) / 2 + y1
        return self.add(3, [(x1, y1), (x2, y1), (x2, y2), (x1, y2)], aux=(x2, mid, x2, mid), **kw)

    def text(self, x, y, words, height, vertical=False, colour=BLACK):
        n = len(words)
        w, h = (height, height * n) if vertical else (height * n, height)
        # A text lies in its box of four corners: P1-P2 runs along the writing of a
        # horizontal text, across it for a vertical one.
        return self.add(22, [(x, y), (x + w, y), (x + w, y + h), (x, y + h)], text=words,
                        pen=colour, aux=(2 if vertical else 1, 0, 0, 0))

    def text_centred(self, cx, cy, words, height, **kw):
        n = len(words)
        vertical = kw.get("vertical", False)
        w, h = (height, height * n) if vertical else (height * n, height)
        return self.text(cx - w / 2, cy - h / 2, words, height, **kw)

    def group(self, members):
        xs = [p[0] for i in members for p in self.records[i - 1]["pts"]]
        ys = [p[1] for i in members for p in self.records[i - 1]["pts"]]
        x1, y1, x2, y2 = min(xs), min(ys), max(xs), max(ys)
        index = self.add(30, [(x1, y1), (x2, y1), (x2, y2), (x1, y2)])
        for i in members:
            self.records[i - 1]["owner"] = index
        return index

    def plot(self, x1, y1, plot_id, household_id):
        return self.rect(x1, y1, x1 + PLOT_W, y1 + PLOT_H, kind=11000,
                         text="%06d" % household_id if household_id else "0",
                         pen=BLACK, brush=KHAKI, brush_style=BS_SOLID, plot_id=plot_id,
                         is_plot=True)

    def lines(self):
        out = ["Ver4.00"]
        for r in self.records:
            (x1, y1), (x2, y2), (x3, y3), (x4, y4) = r["pts"]
            out += [str(r["kind"]), real(x1), real(y1), real(x2), real(y2), r["text"],
                    str(r["pen"]), str(r["brush"]), str(r["plot_id"]),
                    real(x3), real(y3), real(x4), real(y4)]
            out += [real(a) for a in r["aux"]]
            out += ["0", "0", str(r["owner"]), str(r["width"]), str(r["pen_style"]),
                    str(r["brush_style"]), "-1" if r["is_plot"] else "0", FONT]
        return out


EXTENT_W, EXTENT_H = 100000, 70000
ZOOM = 10

# The site: fence inset 1000, hall on the north side, the approach running north
# from the gate in the south fence, a cross path halfway.
FENCE = (1000, 1000, 99000, 68000)
PATH_X = (47000, 53000)
CROSS_Y = (38000, 42000)
HALL = (30000, 4000, 70000, 15000)

# Blocks: (prefix, left, top). Upper blocks are nearest the hall.
BLOCKS = [
    ("西1", 24000, 21000),
    ("西2", 24000, 46000),
    ("東1", 57000, 21000),
    ("東2", 57000, 46000),
]


def plot_slots():
    # Numbered row by row from the path side outwards, as one walks in from the approach.
    slots = []
    for prefix, left, top in BLOCKS:
        west = prefix.startswith("西")
        n = 0
        for row in range(ROWS):
            for col in range(COLS):
                c = COLS - 1 - col if west else col
                n += 1
                slots.append({
                    "number": "%s-%02d" % (prefix, n),
                    "x": left + c * (PLOT_W + PLOT_GAP),
                    "y": top + row * (PLOT_H + PLOT_GAP),
                    "upper": prefix.endswith("1"),
                    "row": row,
                    "col": col,
                })
    return slots


def assign_owners(rnd, slots, households):
    # 30 owned plots; two households hold a pair of neighbouring plots each.
    owned_count = 30
    pairs = [("東1-01", "東1-02"), ("西2-05", "西2-06")]
    paired = [n for p in pairs for n in p]
    others = [s["number"] for s in slots if s["number"] not in paired]
    owned_numbers = set(paired) | set(rnd.sample(others, owned_count - len(paired)))
    local = [h for h in households if h["district_id"] != 9]
    far = [h for h in households if h["district_id"] == 9]
    # One owner from afar and one with an unpadded ID keep those cases in the sample.
    owners = rnd.sample(local, owned_count - len(pairs) - 1) + far[:1]
    unpadded = [h for h in households if not h["id_text"].startswith("0")]
    if not any(not h["id_text"].startswith("0") for h in owners):
        owners[-2] = unpadded[0]
    rnd.shuffle(owners)
    by_number = {}
    for k, pair in enumerate(pairs):
        for n in pair:
            by_number[n] = owners[k]
    rest = owners[len(pairs):]
    for s in slots:
        n = s["number"]
        if n in owned_numbers and n not in by_number:
            by_number[n] = rest.pop()
    return by_number


def build_drawing(slots, owner_of):
    d = Drawing()
    fx1, fy1, fx2, fy2 = FENCE
    px1, px2 = PATH_X
    cy1, cy2 = CROSS_Y
    fence = dict(pen=DARK_GREY, pen_style=PS_DASH)
    # Fence, open at the gate.
    d.line(fx1, fy1, fx2, fy1, **fence)
    d.line(fx2, fy1, fx2, fy2, **fence)
    d.line(fx2, fy2, px2, fy2, **fence)
    d.line(px1, fy2, fx1, fy2, **fence)
    d.line(fx1, fy2, fx1, fy1, **fence)

    # Main hall and its label, held together as one group.
    hx1, hy1, hx2, hy2 = HALL
    hall = d.rect(hx1, hy1, hx2, hy2, pen=BLACK, brush=HALL_FILL, brush_style=BS_SOLID,
                  width=2)
    label = d.text_centred((hx1 + hx2) / 2, (hy1 + hy2) / 2, "本　堂", 4000)
    d.group([hall, label])

    # Approach from the gate to the hall, broken where the cross path meets it.
    path = dict(pen=GREY, width=2)
    for x in PATH_X:
        d.line(x, hy2, x, cy1, **path)
        d.line(x, cy2, x, fy2, **path)
    for y in CROSS_Y:
        d.line(fx1 + 3000, y, px1, y, **path)
        d.line(px2, y, fx2 - 3000, y, **path)

    # Gate posts either side of the opening, the name just inside.
    stone = dict(pen=BLACK, brush=STONE_FILL, brush_style=BS_SOLID)
    d.rect(px1 - 1500, fy2 - 1000, px1, fy2 + 1000, **stone)
    d.rect(px2, fy2 - 1000, px2 + 1500, fy2 + 1000, **stone)
    d.text(px2 + 2500, fy2 - 4000, "山門", 3000)

    # Section names above the upper blocks.
    block_w = COLS * PLOT_W + (COLS - 1) * PLOT_GAP
    for prefix, left, top in BLOCKS:
        if prefix.endswith("1"):
            name = "西区" if prefix.startswith("西") else "東区"
            d.text_centred(left + block_w / 2, top - 2500, name, 3000, colour=NAVY)

    # Water place beside the approach, east of the lower blocks.
    d.rect(81000, 48000, 89000, 53000, pen=BLACK, brush=WATER_FILL, brush_style=BS_SOLID)
    d.text_centred(85000, 50500, "水屋", 3000)

    # Memorial mound for graves without kin, west of the upper west block.
    d.rect(8000, 24000, 14000, 30000, **stone)
    d.text(16000, 22500, "無縁塚", 3000, vertical=True)

    # Ossuary in the open ground west of the lower blocks.
    d.rect(6000, 47000, 18000, 55000, pen=BLACK, brush=HALL_FILL, brush_style=BS_SOLID,
           width=2)
    d.text_centred(12000, 51000, "納骨堂", 3000)

    # Trees in the corners and beside the hall.
    tree = dict(pen=GREEN, brush=LIGHT_GREEN)
    for x, y, size, solid in [(4000, 4000, 5000, True), (91000, 4000, 5000, True),
                              (22000, 6000, 5000, False), (73000, 6000, 5000, False),
                              (4000, 61000, 5000, True), (91000, 61000, 5000, True),
                              (90000, 23000, 4000, False), (90500, 29000, 3500, True)]:
        d.ellipse(x, y, x + size, y + size, brush_style=BS_SOLID if solid else BS_CLEAR,
                  **tree)

    d.text(10000, 63500, TEMPLE + "　" + DRAWING, 3000)

    for plot_id, s in enumerate(slots, start=1):
        h = owner_of.get(s["number"])
        s["plot_id"] = plot_id
        d.plot(s["x"], s["y"], plot_id, h["id"] if h else 0)
    return d


def view_lines():
    paint_w = EXTENT_W * ZOOM // 1000 + 60
    paint_h = EXTENT_H * ZOOM // 1000 + 60
    values = [40, 40, 1100, 760, paint_w, paint_h, 0, 0, ZOOM,
              4, 3, 1, 1, 10, 10,
              15398391, 14282224, "", 0, 7321527, -16777201, 8421504,
              55, 85, 85, 60, 90, 150, 60, 0, 280,
              "あり", "なし", 10, 500, "なし", FONT, 1, 0, 1, 1000]
    assert len(values) == 41
    return ["endofdata", "//-------------フォームDATA----------------", "<form_data>"] + \
        [str(v) for v in values]


def handover_lines(rnd, slots, owner_of):
    lines = []
    for s in slots:
        h = owner_of.get(s["number"])
        if s["upper"]:
            grade = "特等" if s["row"] == 0 else "一等"
        else:
            grade = "二等" if s["row"] < 2 else ""
        remarks = ""
        if h:
            r = rnd.random()
            remarks = "墓誌あり" if r < 0.15 else "要清掃" if r < 0.22 else ""
        lines.append(",".join([
            str(s["plot_id"]), str(h["id"] if h else 0), q(s["number"]), q(remarks),
            q(grade), "-1", str(h["district_id"] if h else 0), q(DRAWING)]))
    return lines


# ---------------------------------------------------------------- cursors

def sd_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def sd_polygon(px, py, pts):
    # Signed distance to a simple polygon, negative inside.
    d = min(sd_segment(px, py, *pts[i], *pts[(i + 1) % len(pts)]) for i in range(len(pts)))
    inside = False
    for i in range(len(pts)):
        (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % len(pts)]
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return -d if inside else d


def loupe_sdf(x, y):
    ring = abs(math.hypot(x - 12, y - 12) - 8.0) - 2.2
    handle = sd_segment(x, y, 18.2, 18.2, 27.5, 27.5) - 2.8
    return min(ring, handle)


def loupe_glass(x, y):
    return math.hypot(x - 12, y - 12) < 6.2


def hand_layers():
    def palm(x, y):
        return sd_polygon(x, y, [(8, 14), (27, 14), (27, 23), (23, 29), (12, 29),
                                 (8, 24)])

    def finger(cx, top):
        return lambda x, y: sd_segment(x, y, cx, 17, cx, top) - 2.5

    def thumb(x, y):
        return sd_segment(x, y, 11, 22, 4.5, 15.5) - 2.3

    # Fingers lie over the palm so each keeps its own outline; the palm's inside is then
    # painted again to wipe the finger ends that fall within it.
    return [(palm, True), (thumb, True)] + \
        [(finger(cx, top), True) for cx, top in [(10.5, 7), (15, 4.5), (19.5, 5), (24, 7.5)]] + \
        [(palm, False)]


def rotate_sdf(x, y):
    cx, cy, r = 16.0, 17.0, 9.0
    a = math.atan2(y - cy, x - cx)
    # The ring leaves a gap at the upper right, where the arrow head points into it.
    gap_from, gap_to = -math.pi / 2, -math.pi / 2 + 1.15
    if gap_from < a < gap_to:
        ends = [(cx + r * math.cos(t), cy + r * math.sin(t)) for t in (gap_from, gap_to)]
        arc = min(math.hypot(x - ex, y - ey) for ex, ey in ends) - 2.2
    else:
        arc = abs(math.hypot(x - cx, y - cy) - r) - 2.2
    # Head at the top end of the arc, pointing clockwise.
    hx, hy = cx + r * math.cos(gap_from), cy + r * math.sin(gap_from)
    head = sd_polygon(x, y, [(hx - 2, hy - 6.5), (hx + 6.5, hy), (hx - 2, hy + 6.5)])
    return min(arc, head)


def render_cursor(layers, glass=None, outline=1.1, ss=4):
    # Each layer is (sdf, with_rim): a black rim of width `outline` and white inside it,
    # or (rim off) only the white inside, painted over the layers before it.
    pixels = []
    for py in range(32):
        row = []
        for px in range(32):
            opaque = white = 0
            for sy in range(ss):
                for sx in range(ss):
                    x = px + (sx + 0.5) / ss
                    y = py + (sy + 0.5) / ss
                    colour = None
                    for sdf, with_rim in layers:
                        d = sdf(x, y)
                        if d < -outline:
                            colour = "w"
                        elif d <= 0 and with_rim:
                            colour = "b"
                    if colour:
                        opaque += 1
                        white += colour == "w"
            if opaque:
                grey = round(255 * white / opaque)
                row.append((grey, grey, grey, round(255 * opaque / (ss * ss))))
            elif glass and glass(px + 0.5, py + 0.5):
                row.append((255, 230, 200, 50))  # a faint pane of glass, B G R order
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def cur_bytes(pixels, hot_x, hot_y):
    xor = b"".join(bytes(p) for row in reversed(pixels) for p in row)
    and_mask = bytes(4 * 32)  # alpha carries transparency, so the mask stays clear
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 32, 0, len(xor) + len(and_mask),
                         0, 0, 0, 0)
    body = header + xor + and_mask
    icondir = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, hot_x, hot_y, len(body), 22)
    return icondir + entry + body


def write_cursors():
    os.makedirs(IMAGE_DIR, exist_ok=True)
    for name, layers, glass, hot in [("rrrp1.cur", [(loupe_sdf, True)], loupe_glass, (12, 12)),
                                     ("rrrp2.cur", hand_layers(), None, (17, 21)),
                                     ("kaitenn.cur", [(rotate_sdf, True)], None, (16, 17))]:
        with open(os.path.join(IMAGE_DIR, name), "wb") as f:
            f.write(cur_bytes(render_cursor(layers, glass), *hot))


# ---------------------------------------------------------------- main

def main():
    rnd = random.Random(20240501)
    os.makedirs(OUT_DIR, exist_ok=True)
    households = make_households(rnd)
    slots = plot_slots()
    owner_of = assign_owners(rnd, slots, households)
    drawing = build_drawing(slots, owner_of)
    assert 60 <= len(drawing.records) <= 120
    assert len(slots) == 48 and len(owner_of) == 30
    assert len({h["id"] for h in owner_of.values()}) == 28

    stem = TEMPLE + PLOT_KIND + DRAWING
    write_lines(os.path.join(OUT_DIR, stem + "_data.txt"), drawing.lines() + view_lines())
    write_lines(os.path.join(OUT_DIR, "檀家厨子.csv"), household_lines(households))
    write_lines(os.path.join(OUT_DIR, "受渡し_fm.csv"), handover_lines(rnd, slots, owner_of))
    write_lines(os.path.join(OUT_DIR, "選択図面.csv"),
                [",".join(q(s) for s in (PLOT_KIND, "", "", TEMPLE, "", DRAWING))])
    write_cursors()


if __name__ == "__main__":
    main()
