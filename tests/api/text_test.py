"""Names are text everywhere: in the board's JSON, a child's page and the CSV for a spreadsheet.
A child's name has at most 24 characters, so the longer script is the class's name and a
problem's text."""

import unittest
from urllib.parse import quote

from service import result, shared

MAIN = None
SCRIPT = "<img src=x onerror=alert(1)>"
CHILD = "<svg onload=alert(1)>"
FORMULA = "=1+1"
HEADER = "Kind;Spiel;Stufe;Punkte;Ergebnis;Gespielt am;Aufgabe;Antwort;Richtig;Sekunden"


def setUpModule():
    global MAIN
    MAIN = shared()


class TextTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.klasse, cls.geheim = MAIN.open_class(SCRIPT, [CHILD, FORMULA, "Lea"])
        cls.sent = {
            CHILD: result(CHILD, spiel="waage", stufe=2, punkte=-15, ergebnis="verloren",
                          aufgaben=[{"aufgabe": SCRIPT, "antwort": "56", "richtig": True,
                                     "sekunden": 2.5}]),
            FORMULA: result(FORMULA, aufgaben=[{"aufgabe": "-3 plus 5", "antwort": "=2",
                                                "richtig": False, "sekunden": 1.25},
                                               {"aufgabe": "@7; \"acht\"", "antwort": "+8",
                                                "richtig": False, "sekunden": 12}]),
            "Lea": result("Lea", aufgaben=[]),
        }
        for one in cls.sent.values():
            MAIN.post_result(cls.klasse, one)

    def test_AScriptAsANameComesBackAsTheSameCharactersEverywhereInJson(self):
        public = MAIN.request("GET", f"/api/klassen/{self.klasse}").json
        self.assertEqual(public, {"name": SCRIPT, "kinder": [CHILD, FORMULA, "Lea"]})
        board = MAIN.board(self.klasse, self.geheim)
        self.assertEqual(board["name"], SCRIPT)
        self.assertEqual([child["name"] for child in board["kinder"]], [CHILD, FORMULA, "Lea"])
        for name in [CHILD, FORMULA]:
            with self.subTest(name):
                path = f"/api/klassen/{self.klasse}/kinder/{quote(name, safe='')}"
                page = MAIN.request("GET", path, secret=self.geheim).json
                self.assertEqual(page["name"], name)
                self.assertEqual([game["id"] for game in page["spiele"]], [self.sent[name]["id"]])

    def test_TheCsvIsUtf8WithBomSemicolonsAndCrlf(self):
        answer = MAIN.request("GET", f"/api/klassen/{self.klasse}/export.csv", secret=self.geheim)
        self.assertEqual(answer.headers["content-type"].replace(" ", "").lower(),
                         "text/csv;charset=utf-8")
        self.assertTrue(answer.body.startswith(b"\xef\xbb\xbf"))
        text = answer.body[3:].decode("utf-8")
        self.assertTrue(text.endswith("\r\n"))
        lines = text[:-2].split("\r\n")
        self.assertNotIn("\n", "".join(lines))
        self.assertEqual(lines[0], HEADER)
        # One line a problem answered, and a game without one still has its line.
        self.assertEqual(len(lines), 1 + 1 + 2 + 1)

    def test_TheCsvHoldsNamesAsTextAndNoFormula(self):
        answer = MAIN.request("GET", f"/api/klassen/{self.klasse}/export.csv", secret=self.geheim)
        rows = answer.body[3:].decode("utf-8").split("\r\n")[1:-1]
        by_problem = {row.split(";")[6]: row for row in rows}
        expected = [
            (SCRIPT, f"{CHILD};waage;2;-15;verloren;", ";56;ja;2,5"),
            ("'-3 plus 5", "'=1+1;uhr;1;120;gewonnen;", ";'=2;nein;1,25"),
            ('"\'@7', "'=1+1;uhr;1;120;gewonnen;", ';"\'@7; ""acht""";\'+8;nein;12'),
            ("", "Lea;uhr;1;120;gewonnen;", ";;;"),
        ]
        for problem, start, end in expected:
            with self.subTest(problem):
                row = by_problem[problem]
                self.assertTrue(row.startswith(start), row)
                self.assertTrue(row.endswith(end), row)
        self.assertEqual(len(by_problem), len(expected))
