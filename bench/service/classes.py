"""The benchmark's classes, through the service's own API (Python's standard library only).

  classes.py prepare URL FOLDER   opens the classes the load posts to (classes.txt, secrets.json)
                                  and the board of 30 children with a week of games (board.txt)
  classes.py count URL FOLDER     how many results all those classes hold
  classes.py bell URL             a class of 30 at the bell: 30 results within a second, and how
                                  long until the board shows them all
"""

import json
import sys
import threading
import time
import urllib.error
import urllib.request
import uuid
from pathlib import Path

CLASSES = 500
SCHOOLS = 50
NAMES = [f"Kind{n:02d}" for n in range(1, 31)]
GAMES = ["uhr", "berg", "glas", "spinne", "waage", "ballon", "zahlen"]


def call(url, method="GET", body=None, secret=None, school=0):
    headers = {"Content-Type": "application/json", "X-Forwarded-For": f"10.0.{school}.1"}
    if secret:
        headers["Authorization"] = f"Bearer {secret}"
    data = json.dumps(body).encode() if body is not None else None
    request = urllib.request.Request(url, data=data, method=method, headers=headers)
    try:
        with urllib.request.urlopen(request, timeout=30) as answer:
            return answer.status, json.loads(answer.read() or b"null")
    except urllib.error.HTTPError as error:
        return error.code, json.loads(error.read() or b"null")
    except (OSError, urllib.error.URLError) as error:
        return 0, str(error)


def result(kind, game, number):
    problems = [{"aufgabe": f"{n} mal {number % 9 + 2}", "antwort": str(n * (number % 9 + 2)),
                 "richtig": n % 4 != 0, "sekunden": 1.5 + n / 10} for n in range(1, 11)]
    return {"id": str(uuid.uuid4()), "kind": kind, "spiel": game, "stufe": number % 3 + 1,
            "punkte": 10 * number % 300, "ergebnis": "gewonnen" if number % 3 else "verloren",
            "reihe": False, "sekunden": 60.0 + number % 30, "aufgaben": problems}


def open_class(base, name, children, school):
    status, opened = call(f"{base}/api/klassen", "POST", {"name": name, "kinder": children},
                          school=school)
    if status != 201:
        raise SystemExit(f"opening {name}: {status} {opened}")
    return opened["klasse"], opened["geheim"]


def prepare(base, folder):
    folder = Path(folder)
    secrets = {}
    for number in range(CLASSES):
        klasse, geheim = open_class(base, f"Klasse {number}", NAMES, number % SCHOOLS)
        secrets[klasse] = geheim
    (folder / "classes.txt").write_text("".join(f"{klasse}\n" for klasse in secrets))
    (folder / "secrets.json").write_text(json.dumps(secrets))
    board, geheim = next(iter(secrets.items()))
    # A week of the class: every child has played every game three times.
    for number in range(len(NAMES) * len(GAMES) * 3):
        kind, game = NAMES[number % len(NAMES)], GAMES[number // len(NAMES) % len(GAMES)]
        status, _ = call(f"{base}/api/klassen/{board}/ergebnisse", "POST",
                         result(kind, game, number))
        if status != 201:
            raise SystemExit(f"a result for the board: {status}")
    (folder / "board.txt").write_text(f"{board} {geheim}\n")
    print(count(base, folder))


def played(base, klasse, geheim):
    status, board = call(f"{base}/api/klassen/{klasse}/tafel", secret=geheim)
    if status != 200:
        raise SystemExit(f"the board of {klasse}: {status} {board}")
    return sum(game["gespielt"] for child in board["kinder"] for game in child["spiele"].values())


def count(base, folder):
    secrets = json.loads((Path(folder) / "secrets.json").read_text())
    return sum(played(base, klasse, geheim) for klasse, geheim in secrets.items())


def bell(base):
    klasse, geheim = open_class(base, "Klasse an der Glocke", NAMES, 0)
    start = threading.Barrier(len(NAMES))
    statuses = []
    sent = time.monotonic()

    def post(kind):
        start.wait()
        statuses.append(call(f"{base}/api/klassen/{klasse}/ergebnisse", "POST",
                             result(kind, "uhr", len(kind)))[0])

    posts = [threading.Thread(target=post, args=(kind,)) for kind in NAMES]
    for thread in posts:
        thread.start()
    for thread in posts:
        thread.join()
    answered = time.monotonic() - sent
    while played(base, klasse, geheim) < len(NAMES) and time.monotonic() - sent < 10:
        time.sleep(0.05)
    current = time.monotonic() - sent
    stored = played(base, klasse, geheim)
    print(f"{statuses.count(201)} {stored} {answered:.3f} {current:.3f}")


if __name__ == "__main__":
    command, url = sys.argv[1], sys.argv[2].rstrip("/")
    if command == "prepare":
        prepare(url, sys.argv[3])
    elif command == "count":
        print(count(url, sys.argv[3]))
    elif command == "bell":
        bell(url)
