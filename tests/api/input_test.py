"""Everything a page could send that is not a result or a class: each is answered 4xx with a German
message, and nothing of it is stored."""

import json
import unittest
import uuid

from service import NO_CLASS, result, shared

MAIN = None


def setUpModule():
    global MAIN
    MAIN = shared()


def changed(**fields):
    return result(**fields)


def without(field):
    body = result()
    del body[field]
    return body


def problem(**fields):
    body = result()
    body["aufgaben"][0].update(fields)
    return body


def spliced(field, literal):
    """The JSON of a result with `literal` as the value of `field`, byte for byte."""
    body = result(**{field: "@@"})
    return json.dumps(body).encode().replace(b'"@@"', literal)


def played(board):
    return sum(game["gespielt"] for child in board["kinder"] for game in child["spiele"].values())


def valid():
    return json.dumps(result()).encode()


ONE_PROBLEM = {"aufgabe": "7 mal 8", "antwort": "56", "richtig": True, "sekunden": 1}

# (what, body, status, headers)
BAD_RESULTS = [
    ("not JSON", b"hallo", 400, {}),
    ("JSON with garbage after it", valid() + b" x", 400, {}),
    ("two JSON objects", valid() + valid(), 400, {}),
    ("an empty body", b"", 400, {}),
    ("a list", b"[]", 400, {}),
    ("a string", b'"Mia"', 400, {}),
    ("null", b"null", 400, {}),
    ("sent as text", valid(), 415, {"Content-Type": "text/plain"}),
    ("sent without a type", valid(), 415, {"Content-Type": None}),
    ("sent as a form", b"kind=Mia", 415, {"Content-Type": "application/x-www-form-urlencoded"}),
    ("over 64 KB", valid()[:-1] + b" " * (64 * 1024) + b"}", 413, {}),
    *[(f"without {field}", without(field), 400, {}) for field in result()],
    ("an unknown field", changed(ip="192.0.2.1"), 400, {}),
    ("an unknown field in a problem", problem(hinweis="Tipp"), 400, {}),
    ("an id that is no uuid", changed(id="123"), 400, {}),
    ("an id in capitals", changed(id=str(uuid.uuid4()).upper()), 400, {}),
    ("an id of uuid version 1", changed(id=str(uuid.uuid1())), 400, {}),
    ("an id that is a number", changed(id=5), 400, {}),
    ("an empty name", changed(kind=""), 400, {}),
    ("a name of spaces", changed(kind="   "), 400, {}),
    ("a name of 25 characters", changed(kind="a" * 25), 400, {}),
    ("a name of 25 umlauts", changed(kind="ä" * 25), 400, {}),
    ("a name with a line break", changed(kind="Mia\nBen"), 400, {}),
    ("a name with NUL", changed(kind="Mia\u0000"), 400, {}),
    ("a name with DEL", changed(kind="Mia\u007f"), 400, {}),
    ("a name with a C1 control", changed(kind="Mi\u0085a"), 400, {}),
    ("a name of invalid UTF-8", spliced("kind", b'"Mi\xffa"'), 400, {}),
    ("a name of overlong UTF-8", spliced("kind", b'"\xc0\xaf"'), 400, {}),
    ("a name with an encoded surrogate", spliced("kind", b'"Mi\xed\xa0\x80"'), 400, {}),
    ("a name with an escaped lone surrogate", spliced("kind", b'"Mi\\ud800"'), 400, {}),
    ("a name that is a number", changed(kind=5), 400, {}),
    ("a name that is null", changed(kind=None), 400, {}),
    ("an unknown game", changed(spiel="schach"), 400, {}),
    ("a game in capitals", changed(spiel="UHR"), 400, {}),
    ("the row as a game", changed(spiel="spiel"), 400, {}),
    ("level 0", changed(stufe=0), 400, {}),
    ("level 4", changed(stufe=4), 400, {}),
    ("a level as text", changed(stufe="1"), 400, {}),
    ("a level of 1.5", changed(stufe=1.5), 400, {}),
    ("a level that is true", changed(stufe=True), 400, {}),
    ("points over 100000", changed(punkte=100001), 400, {}),
    ("points under -100000", changed(punkte=-100001), 400, {}),
    ("points of 1e400", spliced("punkte", b"1e400"), 400, {}),
    ("points of 2^64", spliced("punkte", b"18446744073709551616"), 400, {}),
    ("points as text", changed(punkte="120"), 400, {}),
    ("an unknown end", changed(ergebnis="gewonnen!"), 400, {}),
    ("an end in capitals", changed(ergebnis="Gewonnen"), 400, {}),
    ("a row that is 0", changed(reihe=0), 400, {}),
    ("a row as text", changed(reihe="false"), 400, {}),
    ("seconds that are NaN", spliced("sekunden", b"NaN"), 400, {}),
    ("seconds that are Infinity", spliced("sekunden", b"Infinity"), 400, {}),
    ("negative seconds", changed(sekunden=-1), 400, {}),
    ("more than a day", changed(sekunden=86401), 400, {}),
    ("seconds as text", changed(sekunden="61.5"), 400, {}),
    ("501 problems", changed(aufgaben=[ONE_PROBLEM] * 501), 400, {}),
    ("problems that are no list", changed(aufgaben={}), 400, {}),
    ("a problem that is text", changed(aufgaben=["7 mal 8"]), 400, {}),
    ("an empty problem", problem(aufgabe=""), 400, {}),
    ("a problem of 101 characters", problem(aufgabe="x" * 101), 400, {}),
    ("a problem with a tab", problem(aufgabe="7\tmal 8"), 400, {}),
    ("an answer of 25 characters", problem(antwort="1" * 25), 400, {}),
    ("right as text", problem(richtig="ja"), 400, {}),
    ("a problem's negative seconds", problem(sekunden=-0.5), 400, {}),
    ("a problem without its answer", changed(aufgaben=[{"aufgabe": "7 mal 8", "richtig": True,
                                                         "sekunden": 1}]), 400, {}),
    ("a name twice", valid()[:-1] + b', "kind": "Ben"}', 400, {}),
    ("a level twice", valid()[:-1] + b', "stufe": 4}', 400, {}),
]

# (what, body, status): the class's own form, sent with the server's password unless it says.
BAD_CLASSES = [
    ("no name", {"kinder": []}, 400),
    ("an empty name", {"name": ""}, 400),
    ("a name of 61 characters", {"name": "k" * 61}, 400),
    ("a name that is a number", {"name": 3}, 400),
    ("a name with a line break", {"name": "3b\nDienstag"}, 400),
    ("61 children", {"name": "3b", "kinder": [f"Kind{n}" for n in range(61)]}, 400),
    ("a child twice", {"name": "3b", "kinder": ["Mia", "Ben", "Mia"]}, 400),
    ("a child twice but for spaces", {"name": "3b", "kinder": ["Mia", " Mia "]}, 400),
    ("a child of 25 characters", {"name": "3b", "kinder": ["b" * 25]}, 400),
    ("an empty child", {"name": "3b", "kinder": [""]}, 400),
    ("a child that is a number", {"name": "3b", "kinder": [7]}, 400),
    ("children that are text", {"name": "3b", "kinder": "Mia, Ben"}, 400),
    ("0 days", {"name": "3b", "tage": 0}, 400),
    ("more days than the server keeps", {"name": "3b", "tage": 31}, 400),
    ("days as text", {"name": "3b", "tage": "9"}, 400),
    ("days of 1.5", {"name": "3b", "tage": 1.5}, 400),
    ("an unknown field", {"name": "3b", "lehrer": "Frau Weber"}, 400),
    ("no password", {"name": "3b", "passwort": None}, 403),
    ("a wrong password", {"name": "3b", "passwort": "tafelkreide"}, 403),
]


class BadInputTest(unittest.TestCase):
    def assertRefused(self, answer, status):
        self.assertEqual(answer.status, status, answer.fehler)
        self.assertEqual(set(answer.json), {"fehler"})

    def test_EveryBadResultIsRefusedWithAGermanMessageAndNothingIsStored(self):
        klasse, geheim = MAIN.open_class(kinder=["Mia", "Ben"])
        before = MAIN.board(klasse, geheim)
        for what, body, status, headers in BAD_RESULTS:
            with self.subTest(what):
                self.assertRefused(MAIN.post_result(klasse, body, headers=headers), status)
        after = MAIN.board(klasse, geheim)
        self.assertEqual(after["stand"], before["stand"])
        self.assertEqual(after["kinder"], before["kinder"])
        self.assertEqual([child["name"] for child in after["kinder"]], ["Mia", "Ben"])
        self.assertEqual(after["schwierig"], [])
        mia = MAIN.request("GET", f"/api/klassen/{klasse}/kinder/Mia", secret=geheim)
        self.assertEqual(mia.json["spiele"], [])

    def test_ResultsToAClassThatIsNotThereAreRefused(self):
        for klasse in ["abcdefgh2345", "ABCDEFGH2345", "abcdefgh234", "abcdefgh23456",
                       "abcdefgh2301"]:
            with self.subTest(klasse):
                answer = MAIN.post_result(klasse, result())
                self.assertEqual((answer.status, answer.fehler), (404, NO_CLASS))

    def test_EveryBadClassIsRefusedWithAGermanMessage(self):
        for what, body, status in BAD_CLASSES:
            with self.subTest(what):
                sent = {"passwort": MAIN.password, **body}
                sent = {key: value for key, value in sent.items() if value is not None}
                self.assertRefused(MAIN.request("POST", "/api/klassen", sent), status)

    def test_ResultsAtTheEdgesOfWhatIsAllowedAreStored(self):
        klasse, geheim = MAIN.open_class(kinder=[])
        edges = [
            changed(kind="ä" * 24),
            changed(kind="😀" * 24),
            changed(kind=" Lea "),
            changed(stufe=3, punkte=-100000, ergebnis="verlassen", reihe=True, sekunden=0),
            changed(stufe=2, punkte=100000, ergebnis="verloren", sekunden=86400),
            changed(aufgaben=[ONE_PROBLEM] * 500),
            changed(aufgaben=[]),
            problem(aufgabe="x" * 100, antwort="", sekunden=86400),
            problem(antwort="9" * 24, sekunden=0),
            *[changed(spiel=game) for game in ["berg", "glas", "spinne", "waage", "ballon",
                                                "zahlen"]],
        ]
        for body in edges:
            with self.subTest(body["kind"], spiel=body["spiel"]):
                self.assertEqual(MAIN.post_result(klasse, body).status, 201)
        board = MAIN.board(klasse, geheim)
        self.assertEqual({child["name"] for child in board["kinder"]},
                         {"ä" * 24, "😀" * 24, "Lea", "Mia"})
        self.assertEqual(played(board), len(edges))
