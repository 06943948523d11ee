#!/usr/bin/python3
"""Plays "das Spiel" at leicht in the real window, as a child who reads every problem on the
screen: the texts of the labels come from the accessibility tree, which the program offers
like any Qt program, and the keys from xdotool. Expects the start screen to be shown."""

import json
import os
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 30
TWIPS_PER_PIXEL = 15


def fail(what):
    print("FAIL: " + what, file=sys.stderr)
    sys.exit(1)


def step(what):
    print("--- " + what, flush=True)


def wait(what, check, timeout=TIMEOUT):
    """Retries check until it gives something true; the tree may change while it is read."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            value = check()
            if value:
                return value
        except Exception:  # a control that went away while it was read
            pass
        time.sleep(0.05)
    fail("timed out waiting until " + what)


def window(title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != "Zifferix":
            continue
        for w in app:
            if w is not None and w.name == title and w.getState().contains(pyatspi.STATE_SHOWING):
                return w
    return None


def gone(title):
    return window(title) is None


def descendants(node, role):
    found = []
    for child in node:
        if child is None:
            continue
        if child.getRole() == role:
            found.append(child)
        found.extend(descendants(child, role))
    return found


def control_at(title, role, left, top):
    """The shown control of a role that covers a design point, given in twips."""
    x = left // TWIPS_PER_PIXEL + 2
    y = top // TWIPS_PER_PIXEL + 2
    for c in descendants(window(title), role):
        if not c.getState().contains(pyatspi.STATE_SHOWING):
            continue
        e = c.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if e.x <= x < e.x + e.width and e.y <= y < e.y + e.height:
            return c
    return None


def label(title, left, top):
    c = control_at(title, pyatspi.ROLE_LABEL, left, top)
    if c is None:
        raise LookupError("no label at %d, %d" % (left, top))
    return c.name


def box_text(title, left, top):
    """The text of a shown box, None once the box is hidden."""
    c = control_at(title, pyatspi.ROLE_TEXT, left, top)
    return None if c is None else c.queryText().getText(0, -1)


def number(text):
    """A number as a label shows it: German comma, maybe a leading blank."""
    return float(text.strip().replace(",", "."))


def german(value):
    text = ("%.9f" % value).rstrip("0").rstrip(".")
    return text.replace(".", ",")


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "30", *names], check=True)


def type_text(text):
    keys(*["comma" if ch == "," else ch for ch in text])


def spoken(title):
    """What the window's notification, which Orca reads aloud, says now."""
    found = descendants(window(title), pyatspi.ROLE_NOTIFICATION)
    return found[0].name if found else None


def hear_problem(title, box):
    """A child who cannot see the screen has heard the box's problem before answering it: the
    last words said are the problem."""
    problem = lambda: control_at(title, pyatspi.ROLE_TEXT, *box).description
    wait("the problem is heard in " + title,
         lambda: problem() and (spoken(title) or "").endswith(problem()))


def answer(title, box, text):
    """Hears the problem, types an answer, waits until the box shows it, confirms it and waits
    until the game has taken it: the box is emptied for the next problem, hidden, or the game is
    gone."""
    hear_problem(title, box)
    type_text(text)
    wait("the box shows " + text, lambda: box_text(title, *box) == text)
    keys("Return")
    wait("the answer " + text + " is taken",
         lambda: finished(title) or box_text(title, *box) != text, timeout=60)


# The program's own tables, written by the build (tests/support/tables.cpp): its games in the
# order of the row, and its units.
with open(os.environ["ZIFFERIX_TABLES"], encoding="utf-8") as tables:
    TABLES = json.load(tables)
ROW = TABLES["games"]
LENGTHS = TABLES["lengths"]
MASSES = TABLES["masses"]

# In the row a game stays open beneath the next one until the whole row is over: a game is
# finished when the next one is shown.
NEXT = {game["title"]: after["title"] for game, after in zip(ROW, ROW[1:])}


def finished(title):
    return window(NEXT[title]) is not None if title in NEXT else gone(title)


def play_clock():
    title = "Kleines ein mal eins"
    step("the clock race: ten products in the minute")
    wait("the clock race is shown", lambda: window(title))
    keys("Return")  # "Anfang"
    for right in range(10):
        wait("the counter shows %d" % right,
             lambda: label(title, 8220, 4305) == " %d richtig" % right)
        product = number(label(title, 7515, 2235)) * number(label(title, 9570, 2235))
        answer(title, (8595, 3420), german(product))
    wait("the minute is over and the next game is shown", lambda: finished(title), timeout=90)


def play_mountain():
    title = "Längenmaße"
    step("the mountain: twelve conversions take the ball out at the top")
    wait("the mountain is shown", lambda: window(title))
    keys("Return")  # "Los"
    while not finished(title):
        given = number(label(title, 1065, 1785))
        exponent = LENGTHS[label(title, 3705, 1785)] - LENGTHS[label(title, 7905, 1785)]
        answer(title, (5295, 1785), german(given * 10 ** exponent))


def play_balance():
    title = "Ausgleich"
    step("the balance: ten missing numbers")
    wait("the balance is shown", lambda: window(title))
    for _ in range(10):
        left = label(title, 1000, 4030).split("+")
        given = number(label(title, 9000, 4030).split("+")[0])
        missing = number(left[0]) + number(left[1]) - given
        hear_problem(title, (10105, 4030))
        type_text(german(missing))
        wait("the box shows the answer", lambda: box_text(title, 10105, 4030) == german(missing))
        keys("Return")
        wait("the balance says richtig", lambda: label(title, 3615, 1665) == "richtig")
        keys("Return")  # the next problem
        wait("the next problem", lambda: finished(title) or label(title, 3615, 1665) == "")
    wait("the next game is shown", lambda: finished(title))


def play_spider():
    title = "Multiplikation"
    step("the spider: sixteen products")
    wait("the spider is shown", lambda: window(title))
    for _ in range(16):
        product = number(label(title, 10815, 1762)) * number(label(title, 12105, 1762))
        answer(title, (13440, 1755), german(product))


def play_balloon():
    title = "Massemaße"
    step("the balloon ride: six conversions lift the weight")
    wait("the balloon ride is shown", lambda: window(title))
    for _ in range(6):
        # The box waits, read-only, while the balloon grows.
        enabled = lambda: not control_at(title, pyatspi.ROLE_TEXT, 6030, 1425).getState().contains(
            pyatspi.STATE_READ_ONLY)
        wait("the balloon has grown and the box takes an answer", enabled)
        given = number(label(title, 1830, 1425))
        exponent = MASSES[label(title, 4470, 1425)] - MASSES[label(title, 8670, 1425)]
        answer(title, (6030, 1425), german(given * 10 ** exponent))
    wait("the weight has risen off the screen", lambda: finished(title), timeout=60)


def play_flying():
    title = "Addition / Subtraktion"
    step("flying numbers: twelve sums")
    wait("the flying numbers are shown", lambda: window(title))
    keys("Return")  # "Start"
    for _ in range(12):
        numbers = wait("three numbers fly", lambda: [
            number(c.name) for c in descendants(window(title), pyatspi.ROLE_LABEL)
            if c.getState().contains(pyatspi.STATE_SHOWING)])
        if len(numbers) != 3:
            fail("expected three numbers, saw %r" % numbers)
        answer(title, (12090, 4770), german(sum(numbers)))


def play_glass():
    title = "Bruchteile"
    step("the glass: fractions until it is full")
    wait("the glass is shown", lambda: window(title))
    wait("the first problem", lambda: control_at(title, pyatspi.ROLE_TEXT, 4785, 1335))
    while not finished(title):
        fraction = number(label(title, 390, 960)) / number(label(title, 420, 1635))
        answer(title, (4785, 1335), german(fraction * number(label(title, 2955, 1350))))


def main():
    title = "Zifferix 1"
    wait("the start screen is offered to assistive technology", lambda: window(title))
    players = {"frmUhr": play_clock, "frmBerg": play_mountain, "frmwaage": play_balance,
               "frmNetz": play_spider, "frmBallon": play_balloon, "frmWander": play_flying,
               "frmbruchteile": play_glass}
    for game in ROW:
        players[game["form"]]()

    step("back on the start screen: the row's total in its line and in the sum")
    wait("the start screen is back", lambda: window(title))
    frame_left, frame_top = 5332, 3855
    row = wait("the row has its points",
               lambda: number(label(title, frame_left + 3450, frame_top + 4762)))
    total = number(label(title, frame_left + 3435, frame_top + 5310))
    if row < 50 or total != row:
        fail("the row wrote %s and the total is %s" % (row, total))
    print("the row scored %d" % row)


if __name__ == "__main__":
    main()
