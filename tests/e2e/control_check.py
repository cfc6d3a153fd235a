#!/usr/bin/env python3
"""The scorer page in headless Chromium, as a tablet would hold it: a press on a
button changes the game, and a wrong token's refusal shows on the page.

  control_check.py press BASE TOKEN BUTTON FIELD STEP   the field goes up by STEP
  control_check.py refused BASE TOKEN BUTTON TEXT       the message says TEXT
"""
import json
import sys
import time

from overlay_check import Browser, fail, urlopen


def state(base):
    with urlopen(base + "/state.json") as r:
        return json.load(r)


def value(browser, expression):
    result = browser.call("Runtime.evaluate", browser.session, expression=expression, returnByValue=True)
    return result["result"].get("value")


def until(browser, expression, what):
    for _ in range(100):
        if value(browser, expression):
            return
        time.sleep(0.05)
    fail(f"{what}: {value(browser, 'document.body.innerText')!r}")


def press(browser, button):
    # A real press at the button's middle, as a finger would.
    box = value(browser, f"(r => [r.x + r.width / 2, r.y + r.height / 2])"
                         f"(document.getElementById('{button}').getBoundingClientRect())")
    for kind in ("mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent", browser.session, type=kind, x=box[0], y=box[1],
                     button="left", clickCount=1)


def main():
    mode, base, token, button = sys.argv[1:5]
    browser = Browser(1024, 768)
    try:
        browser.open(f"{base}/control#token={token}")
        until(browser, "document.getElementById('homeScore').textContent !== ''", "the page shows no state")
        before = state(base)
        press(browser, button)
        if mode == "press":
            field, step = sys.argv[5], int(sys.argv[6])
            want = before[field] + step
            until(browser, f"document.getElementById('{field}').textContent === '{want}'",
                  f"the page does not show {field} {want}")
            if state(base)[field] != want:
                fail(f"the feed says {field} {state(base)[field]}, not {want}")
        else:
            until(browser, f"document.getElementById('message').textContent === {json.dumps(sys.argv[5])}",
                  "the refusal is not shown")
            if state(base) != before:
                fail("a refused press changed the game")
    finally:
        browser.close()


if __name__ == "__main__":
    main()
