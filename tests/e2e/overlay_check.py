#!/usr/bin/env python3
"""The overlay page's side of feed_overlay.sh.

  live URL DIR COMMAND   opens URL in headless Chromium (driven over its DevTools
                         pipe, so the page stays open), saves its canvas as
                         DIR/live1.png, runs COMMAND, and saves DIR/live2.png
                         once the open page shows a change.
  match STATE BOX X Y PAGE
                         compares PAGE with the score box at X,Y of the screenshot
                         BOX, element by element of the state STATE.
  changed STATE BEFORE AFTER NAME
                         fails unless AFTER differs from BEFORE, and only inside
                         the element NAME.
Needs only python3, ImageMagick and Chromium.
"""
import base64
import json
import os
import select
import subprocess
import sys
import time


def fail(message):
    print("overlay: " + message, file=sys.stderr)
    sys.exit(1)


def load(path):
    """An image as (width, height, rows of (r, g, b, a))."""
    w, h = map(int, subprocess.check_output(["identify", "-format", "%w %h", path]).split())
    raw = subprocess.check_output(["convert", path, "-depth", "8", "rgba:-"])
    px = [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]
    return w, h, [px[y * w:(y + 1) * w] for y in range(h)]


class Browser:
    """Headless Chromium spoken to over --remote-debugging-pipe (fds 3 and 4)."""

    def __init__(self, width, height):
        to_child, self.write_end = os.pipe()
        self.read_end, from_child = os.pipe()

        def pipes():
            # Through copies: a pipe may already sit on 3 or 4, and dup2 onto
            # itself would leave it closed at exec.
            down, up = os.dup(to_child), os.dup(from_child)
            os.dup2(down, 3)
            os.dup2(up, 4)

        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--disable-gpu", "--no-sandbox", "--hide-scrollbars",
             "--remote-debugging-pipe", f"--window-size={width},{height}", "about:blank"],
            preexec_fn=pipes, close_fds=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_child)
        os.close(from_child)
        self.buffer, self.next_id, self.events = b"", 0, []
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        self.call("Emulation.setDeviceMetricsOverride", self.session, width=width, height=height,
                  deviceScaleFactor=1, mobile=False)
        self.call("Page.enable", self.session)

    def message(self, deadline):
        while b"\0" not in self.buffer:
            if not select.select([self.read_end], [], [], max(0, deadline - time.time()))[0]:
                fail("Chromium does not answer")
            chunk = os.read(self.read_end, 65536)
            if not chunk:
                fail("Chromium ended")
            self.buffer += chunk
        text, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(text)

    def call(self, method, session=None, **params):
        self.next_id += 1
        request = {"id": self.next_id, "method": method, "params": params}
        if session:
            request["sessionId"] = session
        os.write(self.write_end, json.dumps(request).encode() + b"\0")
        deadline = time.time() + 10
        while True:
            answer = self.message(deadline)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    fail(f"{method}: {answer['error']}")
                return answer["result"]
            self.events.append(answer.get("method"))

    def open(self, url):
        self.events.clear()  # a load of the blank page first shown is not this one's
        self.call("Page.navigate", self.session, url=url)
        deadline = time.time() + 10
        while "Page.loadEventFired" not in self.events:
            self.events.append(self.message(deadline).get("method"))

    def canvas(self, path):
        # The canvas as the page drew it. (A screenshot of a page that is not
        # animating waits forever for a frame in this headless mode; the command
        # line's --screenshot covers what the page looks like as a whole.)
        expression = 'document.querySelector("canvas").toDataURL("image/png")'
        url = self.call("Runtime.evaluate", self.session, expression=expression, returnByValue=True)["result"]["value"]
        data = base64.b64decode(url.split(",", 1)[1])
        with open(path, "wb") as f:
            f.write(data)
        return data

    def close(self):
        self.proc.kill()
        self.proc.wait()


def live(url, folder, command):
    with urlopen(url.rsplit("/", 1)[0] + "/state.json") as r:
        box = json.load(r)["box"]
    browser = Browser(box["width"], box["height"])
    try:
        browser.open(url)
        time.sleep(0.5)  # the socket's first message and its frame
        first = browser.canvas(os.path.join(folder, "live1.png"))
        subprocess.run(["bash", "-c", command], check=True)
        second = os.path.join(folder, "live2.png")
        for _ in range(30):
            time.sleep(0.1)
            if browser.canvas(second) != first:
                time.sleep(0.2)  # the whole change, not a frame of it
                browser.canvas(second)
                return
        fail("the open page did not change")
    finally:
        browser.close()


def urlopen(url):
    import urllib.request
    return urllib.request.urlopen(url, timeout=5)


def colour(hex_text):
    return tuple(int(hex_text[i:i + 2], 16) for i in (1, 3, 5))


def diff(p, q):
    return max(abs(p[i] - q[i]) for i in range(3))


def match(state_file, box_file, bx, by, page_file):
    box = json.load(open(state_file))["box"]
    W, H = box["width"], box["height"]
    _, _, shot = load(box_file)
    pw, ph, page = load(page_file)
    if (pw, ph) != (W, H):
        fail(f"the page is {pw}x{ph}, the box {W}x{H}")
    prog = [row[bx:bx + W] for row in shot[by:by + H]]
    white = (255, 255, 255)

    # The cut corners: transparent on the page exactly where the desktop shows
    # through the box; opaque everywhere else.
    r = box["cornerRadius"]
    band = int(-(-r // 1))
    transparent = 0
    for y in range(H):
        for x in range(W):
            alpha = page[y][x][3]
            in_corner = min(x, W - 1 - x) < band and min(y, H - 1 - y) < band
            cut = in_corner and prog[y][x][:3] == white
            if alpha not in (0, 255) or (alpha == 0) != cut:
                fail(f"outline at {x},{y}: page alpha {alpha}, program {prog[y][x][:3]}")
            transparent += alpha == 0
    if r >= 1 and (transparent == 0 or page[0][0][3] != 0):
        fail("the corners are not cut")

    # Who is on top at each pixel.
    owner = [[None] * W for _ in range(H)]
    for e in box["elements"]:
        for y in range(max(0, e["y"]), min(H, e["y"] + e["height"])):
            for x in range(max(0, e["x"]), min(W, e["x"] + e["width"])):
                owner[y][x] = e

    def pixels(e):
        return [(x, y) for y in range(H) for x in range(W) if owner[y][x] is e and page[y][x][3]]

    def solid(img, x, y, c):
        # The pixel and its eight neighbours are all (nearly) c: inside a shape,
        # off its edges, where two rasterisers agree.
        return all(0 <= x + dx < W and 0 <= y + dy < H and diff(img[y + dy][x + dx], c) <= 8
                   for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    for e in box["elements"]:
        where = pixels(e)
        name = e.get("name", e["kind"])
        if e["kind"] == "fill":
            for x, y in where:
                if prog[y][x][:3] != colour(e["color"]) or page[y][x][:3] != prog[y][x][:3]:
                    fail(f"{name} at {x},{y}: program {prog[y][x][:3]}, page {page[y][x][:3]}")
        elif e["kind"] == "display":
            lit, back = colour(e["lit"]), colour(e["back"])
            counts = [0, 0, 0]
            for x, y in where:
                for c in (lit, back):
                    # Inside a segment or the board on one: the same colour on the other.
                    if (solid(prog, x, y, c) and diff(page[y][x], c) > 8) or \
                            (solid(page, x, y, c) and diff(prog[y][x], c) > 8):
                        fail(f"{name} at {x},{y}: program {prog[y][x][:3]}, page {page[y][x][:3]}")
                # Off the inside, edges may be shaded a little differently, but
                # a pixel half lit on one is lit on the other: no LED is missing.
                a, b = (diff(img[y][x], back) / diff(lit, back) for img in (prog, page))
                if diff(prog[y][x], page[y][x]) > 96 or max(a, b) >= 0.5 and min(a, b) < 0.2:
                    fail(f"{name} edge at {x},{y}: program {prog[y][x][:3]}, page {page[y][x][:3]}")
                # The lit area, edges counted by how far they are lit.
                counts[0] += diff(prog[y][x], back) / diff(lit, back)
                counts[1] += diff(page[y][x], back) / diff(lit, back)
                counts[2] += abs(diff(prog[y][x], back) - diff(page[y][x], back)) / diff(lit, back)
            # Small round LEDs are mostly edge, where the two rasterisers' shading differs most.
            if abs(counts[0] - counts[1]) > 2 + counts[0] * (0.06 if e["style"] == "dots" else 0.02):
                fail(f"{name}: {counts[0]:.1f} lit pixels in the program, {counts[1]:.1f} on the page")
            print(f"{name}: {counts[0]:.1f} lit pixels in the program, {counts[1]:.1f} on the page, {counts[2]:.1f} apart")
        elif e["kind"] == "caption" and where:
            # Text: the same place to the pixel; the two font rasterisers shade a little apart.
            fore = colour(e["color"])
            ground = max(set(prog[y][x][:3] for x, y in where), key=[prog[y][x][:3] for x, y in where].count)
            boxes = []
            for img in (prog, page):
                ink = [(x, y) for x, y in where if diff(img[y][x], ground) * 2 > diff(fore, ground)]
                boxes.append((len(ink), min(x for x, _ in ink), min(y for _, y in ink),
                              max(x for x, _ in ink), max(y for _, y in ink)) if ink else (0,))
            a, b = boxes
            if a[1:] != b[1:] or abs(a[0] - b[0]) > 2 + a[0] // 8:
                fail(f"{name}: ink (count, box) {a} in the program, {b} on the page")


def changed(state_file, before, after, name):
    box = json.load(open(state_file))["box"]
    e = next(e for e in box["elements"] if e.get("name") == name)
    w, h, a = load(before)
    _, _, b = load(after)
    moved = [(x, y) for y in range(h) for x in range(w) if a[y][x] != b[y][x]]
    if not moved:
        fail("nothing changed")
    outside = [(x, y) for x, y in moved
               if not (e["x"] <= x < e["x"] + e["width"] and e["y"] <= y < e["y"] + e["height"])]
    if outside:
        fail(f"changed outside {name}: {outside[:5]}")


if __name__ == "__main__":
    mode, args = sys.argv[1], sys.argv[2:]
    if mode == "live":
        live(*args)
    elif mode == "match":
        match(args[0], args[1], int(args[2]), int(args[3]), args[4])
    elif mode == "changed":
        changed(*args)
    else:
        fail("unknown mode " + mode)
