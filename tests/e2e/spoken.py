#!/usr/bin/python3
"""Plays the spider game in the real window hearing only what a screen reader is given: the
start screen's options as radio buttons, the problem as the answer box's description, and every
verdict from the window's notification, which Orca reads aloud. Expects the start screen with
"gegen die Spinne" and "leicht" chosen."""

import pyatspi

from row import descendants, fail, keys, spoken, step, type_text, wait, window

START = "Zifferix 1"
SPIDER = "Multiplikation"


def focused_box(title):
    for box in descendants(window(title), pyatspi.ROLE_TEXT):
        if box.getState().contains(pyatspi.STATE_FOCUSED):
            return box
    return None


def hear(title, expected):
    wait("the screen reader hears %r" % expected, lambda: spoken(title) == expected)


def main():
    step("the start screen: radio buttons with their points, the start button says the choice")
    wait("the start screen is offered to assistive technology", lambda: window(START))
    radios = wait("eleven radio buttons", lambda: descendants(window(START), pyatspi.ROLE_RADIO_BUTTON))
    names = [r.name for r in radios]
    if len(radios) != 11 or "gegen die Spinne, 0 Punkte" not in names or "voll schwer" not in names:
        fail("the options are heard as %r" % names)
    start = [b for b in descendants(window(START), pyatspi.ROLE_PUSH_BUTTON) if b.name == "Los und hopp"]
    if not start or start[0].description != "gegen die Spinne, leicht":
        fail("the start button says %r" % (start[0].description if start else None))

    step("the spider, heard: a wrong answer, then sixteen right ones")
    keys("Return")
    box = wait("the box has the focus", lambda: focused_box(SPIDER))
    type_text("1")
    keys("Return")
    hear(SPIDER, "Falsch. Die Spinne knüpft weiter, 1 von 11 Fäden.")
    for left in range(15, -1, -1):
        a, b = box.description.split(" mal ")
        type_text(str(int(a) * int(b)))
        keys("Return")
        if left:
            unit = "Aufgabe" if left == 1 else "Aufgaben"
            wait("the verdict and the next problem",
                 lambda: (spoken(SPIDER) or "").startswith("Richtig. Noch %d %s. " % (left, unit))
                 and spoken(SPIDER).endswith(box.description))
    hear(START, "Gewonnen! 23 Punkte.")
    print("heard the spider game through")


if __name__ == "__main__":
    main()
