"""Nobody gets in where they do not belong, and what is deleted or expired is gone."""

import secrets
import sqlite3
import time
import unittest

from service import NO_CLASS, result, shared

MAIN = None


def setUpModule():
    global MAIN
    MAIN = shared()


def played(board):
    return sum(game["gespielt"] for child in board["kinder"] for game in child["spiele"].values())


class OriginTest(unittest.TestCase):
    def test_AnotherSitesPageIsRefusedAndTheOwnIsNot(self):
        klasse, geheim = MAIN.open_class()
        requests = [
            ("POST", f"/api/klassen/{klasse}/ergebnisse", result()),
            ("GET", f"/api/klassen/{klasse}", None),
            ("GET", f"/api/klassen/{klasse}/tafel", None),
            ("DELETE", f"/api/klassen/{klasse}", None),
            ("POST", "/api/klassen", {"name": "fremd", "passwort": MAIN.password}),
        ]
        for origin in ["https://boese.example", "http://127.0.0.1.boese.example", "null",
                       f"http://{MAIN.host}:{MAIN.port + 1}"]:
            for method, path, body in requests:
                with self.subTest(origin, route=f"{method} {path}"):
                    answer = MAIN.request(method, path, body, secret=geheim,
                                          headers={"Origin": origin})
                    self.assertEqual(answer.status, 403)
        self.assertEqual(played(MAIN.board(klasse, geheim)), 0)
        own = MAIN.post_result(klasse, result(), headers={"Origin": MAIN.origin})
        self.assertEqual(own.status, 201)
        self.assertEqual(played(MAIN.board(klasse, geheim)), 1)


class DeletionTest(unittest.TestCase):
    def test_ADeletedClassLeavesNoneOfItsTextsInTheDatabaseFiles(self):
        mark = secrets.token_hex(6)
        texts = [f"Zauberwald {mark}", f"Quirin{mark}", f"Ottilie{mark}", f"{mark} mal 8"]
        klasse, geheim = MAIN.open_class(texts[0], texts[1:3])
        for kind in texts[1:3]:
            sent = result(kind, aufgaben=[{"aufgabe": texts[3], "antwort": "1", "richtig": False,
                                           "sekunden": 1}])
            self.assertEqual(MAIN.post_result(klasse, sent).status, 201)
        stored = MAIN.database_bytes()
        for text in texts:
            self.assertIn(text.encode(), stored)
        self.assertEqual(MAIN.delete_class(klasse, geheim), 204)
        self.assertEqual(MAIN.request("GET", f"/api/klassen/{klasse}").status, 404)
        left = MAIN.database_bytes()
        for text in texts + [klasse]:
            with self.subTest(text):
                self.assertNotIn(text.encode(), left)

    def test_AnExpiredClassIsAnsweredLikeAMissingOne(self):
        klasse, geheim = MAIN.open_class(tage=1)
        MAIN.post_result(klasse, result())
        # The day passes in the database, as the hourly purge has not come yet.
        with sqlite3.connect(MAIN.state / "klassen.sqlite", timeout=10) as database:
            database.execute("UPDATE classes SET expires = ? WHERE id = ?",
                             (int(time.time()) - 1, klasse))
        database.close()
        for method, path, body in [("GET", "", None), ("POST", "/ergebnisse", result()),
                                   ("GET", "/tafel", None), ("GET", "/export.csv", None)]:
            with self.subTest(f"{method} {path}"):
                answer = MAIN.request(method, f"/api/klassen/{klasse}{path}", body, secret=geheim)
                self.assertEqual((answer.status, answer.fehler), (404, NO_CLASS))


class LogTest(unittest.TestCase):
    def test_TheLogHoldsNoSecretNoNameNoProblemAndNoAddress(self):
        mark = secrets.token_hex(6)
        klasse, geheim = MAIN.open_class(f"Klasse{mark}", [f"Kind{mark}"])
        MAIN.post_result(klasse, result(f"Kind{mark}", aufgaben=[
            {"aufgabe": f"Aufgabe{mark}", "antwort": "1", "richtig": True, "sekunden": 1}]))
        MAIN.post_result(klasse, result(f"Kind{mark}", stufe=9))
        MAIN.request("GET", f"/api/klassen/{klasse}/tafel", secret=geheim[::-1])
        MAIN.delete_class(klasse, geheim)
        log = MAIN.log()
        self.assertIn("started", log)
        for secret in [mark, klasse, geheim, geheim[::-1], MAIN.password, MAIN.host]:
            self.assertNotIn(secret, log)
