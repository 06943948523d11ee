"""The real zifferix-klassen in a folder of its own, and requests to it checked by its contract."""

import atexit
import http.client
import json
import os
import re
import select
import subprocess
import tempfile
import threading
import uuid
from pathlib import Path

from contract import Contract

OPENAPI = Path(__file__).resolve().parents[2] / "service" / "openapi.yaml"
CONTRACT = Contract(OPENAPI)
# Every answer's own headers.
EVERY_ANSWER = {"cache-control": "no-store", "x-content-type-options": "nosniff"}
# The service most tests share: opening a class needs a password, results are kept at most 30
# days, and the limits are ten times the usual, so the many wrong secrets of the tests stay
# under them (flood_test.py starts services with the usual ones).
PASSWORD = "Tafelkreide"
SHARED_SETTINGS = [("max_days", 30), ("rate_limit", 10)]
GERMAN = re.compile(
    r"[äöüßÄÖÜ„“]|\b(der|die|das|diese|dieses|ist|nicht|kein|keine|muss|darf|bitte|gibt|"
    r"zahl|text|feld|zu|eine?)\b",
    re.IGNORECASE,
)
NO_CLASS = "Diese Klasse gibt es nicht."


class Answer:
    def __init__(self, status, headers, body):
        self.status = status
        self.headers = headers
        self.body = body
        self.json = None

    @property
    def fehler(self):
        return (self.json or {}).get("fehler", "")


class Service:
    """Starts the service on a free port with a config file of the settings given."""

    def __init__(self, binary, password="", settings=(), arguments=()):
        self.password = password
        self.folder = tempfile.TemporaryDirectory(prefix="zifferix-api-")
        root = Path(self.folder.name)
        self.state = root / "state"
        config = "# written by the API test\n" + "".join(f"{key} = {value}\n" for key, value in
                                                        [("password", password), *settings])
        (root / "klassen.conf").write_text(config, encoding="utf-8")
        self.log_path = root / "stderr"
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen(
                [binary, "--listen=127.0.0.1:0", f"--state={self.state}",
                 f"--config={root / 'klassen.conf'}", *arguments],
                stdout=subprocess.PIPE, stderr=log, env=dict(os.environ, LC_ALL="C.UTF-8"))
        line = self._first_line(timeout=30)
        found = re.search(r"listening on http://([\d.]+):(\d+)/", line)
        if not found:
            self.stop()
            raise RuntimeError(f"the service did not say where it listens: {line!r}\n{self.log()}")
        self.host, self.port = found.group(1), int(found.group(2))
        self.origin = f"http://{self.host}:{self.port}"
        # Whatever else it prints must not fill the pipe.
        threading.Thread(target=self.process.stdout.read, daemon=True).start()

    def _first_line(self, timeout):
        line = b""
        while not line.endswith(b"\n"):
            ready, _, _ = select.select([self.process.stdout], [], [], timeout)
            if not ready:
                return line.decode(errors="replace")
            byte = os.read(self.process.stdout.fileno(), 1)
            if not byte:
                break
            line += byte
        return line.decode(errors="replace")

    def log(self):
        return self.log_path.read_text(encoding="utf-8", errors="replace")

    def database_bytes(self):
        """The SQLite file and its logs, as they are on disk."""
        return b"".join(path.read_bytes() for path in sorted(self.state.glob("klassen.sqlite*")))

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stdout.close()
        self.folder.cleanup()

    def connection(self):
        return http.client.HTTPConnection(self.host, self.port, timeout=20)

    def request(self, method, path, body=None, secret=None, headers=None, connection=None):
        """Sends one request; the answer is checked against the contract before it is returned.

        `body` is a dict (sent as JSON) or bytes (sent as they are)."""
        sent = {}
        if body is not None:
            sent["Content-Type"] = "application/json"
            if not isinstance(body, bytes):
                body = json.dumps(body, ensure_ascii=False).encode("utf-8")
        if secret is not None:
            sent["Authorization"] = f"Bearer {secret}"
        sent.update(headers or {})
        sent = {key: value for key, value in sent.items() if value is not None}
        own = connection is None
        connection = connection or self.connection()
        try:
            connection.request(method, path, body=body, headers=sent)
            response = connection.getresponse()
            answer = Answer(response.status, {k.lower(): v for k, v in response.getheaders()},
                            response.read())
        finally:
            if own:
                connection.close()
        answer.json = CONTRACT.check(method, path, answer.status, answer.headers, answer.body)
        for name, value in EVERY_ANSWER.items():
            if answer.headers.get(name) != value:
                raise AssertionError(f"{method} {path}: {name} is {answer.headers.get(name)!r}")
        if "access-control-allow-origin" in answer.headers:
            raise AssertionError(f"{method} {path}: an Access-Control-Allow-Origin header")
        if answer.status >= 400 and not GERMAN.search(answer.fehler):
            raise AssertionError(f"{method} {path}: not a German message: {answer.fehler!r}")
        return answer

    # What the tests do again and again.

    def open_class(self, name="3b Dienstag", kinder=("Mia", "Ben"), **fields):
        body = {"name": name, "kinder": list(kinder), **fields}
        if self.password:
            body.setdefault("passwort", self.password)
        answer = self.request("POST", "/api/klassen", body)
        if answer.status != 201:
            raise AssertionError(f"opening a class: {answer.status} {answer.fehler}")
        return answer.json["klasse"], answer.json["geheim"]

    def board(self, klasse, geheim):
        answer = self.request("GET", f"/api/klassen/{klasse}/tafel", secret=geheim)
        if answer.status != 200:
            raise AssertionError(f"the board: {answer.status} {answer.fehler}")
        return answer.json

    def post_result(self, klasse, result, **arguments):
        return self.request("POST", f"/api/klassen/{klasse}/ergebnisse", result, **arguments)

    def delete_class(self, klasse, geheim):
        return self.request("DELETE", f"/api/klassen/{klasse}", secret=geheim).status

    def games(self, klasse, geheim, kind):
        """The board's line of one child: its games by name."""
        board = self.board(klasse, geheim)
        return next(child["spiele"] for child in board["kinder"] if child["name"] == kind)


def result(kind="Mia", **fields):
    """A valid result with an id of its own; `fields` replace what they name."""
    return {
        "id": str(uuid.uuid4()), "kind": kind, "spiel": "uhr", "stufe": 1, "punkte": 120,
        "ergebnis": "gewonnen", "reihe": False, "sekunden": 61.5,
        "aufgaben": [{"aufgabe": "7 mal 8", "antwort": "56", "richtig": True, "sekunden": 2.4},
                     {"aufgabe": "6 mal 9", "antwort": "45", "richtig": False, "sekunden": 3.5}],
        **fields,
    }


_shared = None


def binary():
    return os.environ["ZIFFERIX_KLASSEN"]


def shared():
    global _shared
    if _shared is None:
        _shared = Service(binary(), PASSWORD, settings=SHARED_SETTINGS)
        atexit.register(_shared.stop)
    return _shared
