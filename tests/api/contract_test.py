"""The routes as the contract describes them, and the teacher's secret as the only key. Every
answer of every test is checked against the OpenAPI file (service.Service.request)."""

import base64
import datetime
import secrets
import unittest

from service import CONTRACT, NO_CLASS, OPENAPI, result, shared

MAIN = None
GAMES = ["uhr", "berg", "glas", "spinne", "waage", "ballon", "zahlen"]


def setUpModule():
    global MAIN
    MAIN = shared()


def moment(text):
    return datetime.datetime.fromisoformat(text.replace("Z", "+00:00"))


def now():
    return datetime.datetime.now(datetime.timezone.utc)


class ContractTest(unittest.TestCase):
    def test_HealthSaysThatOpeningNeedsThePasswordAndHowManyDaysAreAllowed(self):
        answer = MAIN.request("GET", "/api/gesund")
        self.assertEqual(answer.json, {"ok": True, "passwort": True, "max_tage": 30})

    def test_TheServedDescriptionIsTheFileInTheRepository(self):
        CONTRACT.every_reference()
        self.assertEqual(MAIN.request("GET", "/api/openapi.yaml").body, OPENAPI.read_bytes())

    def test_AClassIsOpenedReadAndDeleted(self):
        klasse, geheim = MAIN.open_class("4a Mittwoch", ["Mia", "Ben"])
        opened = moment(MAIN.board(klasse, geheim)["ablauf"])
        # Without "tage" the server's maximum, as it is less than 90.
        self.assertLess(abs(opened - now() - datetime.timedelta(days=30)).total_seconds(), 300)
        answer = MAIN.request("GET", f"/api/klassen/{klasse}")
        self.assertEqual(answer.json, {"name": "4a Mittwoch", "kinder": ["Mia", "Ben"]})
        self.assertEqual(MAIN.delete_class(klasse, geheim), 204)
        for method, path in [("GET", ""), ("GET", "/tafel"), ("DELETE", "")]:
            answer = MAIN.request(method, f"/api/klassen/{klasse}{path}", secret=geheim)
            self.assertEqual((answer.status, answer.json), (404, {"fehler": NO_CLASS}), path)

    def test_TheBoardSumsEveryChildsGamesAndTheHardestProblems(self):
        klasse, geheim = MAIN.open_class(kinder=["Mia", "Ben", "Lea"])
        wrong = {"aufgabe": "6 mal 9", "antwort": "45", "richtig": False, "sekunden": 4}
        for kind, spiel, punkte, ergebnis, aufgaben in [
            ("Mia", "uhr", 120, "gewonnen", [wrong]),
            ("Mia", "uhr", 80, "verloren", [wrong]),
            ("Ben", "berg", 50, "gewonnen", [wrong, {**wrong, "aufgabe": "1 m in cm"}]),
        ]:
            sent = result(kind, spiel=spiel, punkte=punkte, ergebnis=ergebnis, aufgaben=aufgaben)
            self.assertEqual(MAIN.post_result(klasse, sent).status, 201)
        board = MAIN.board(klasse, geheim)
        self.assertEqual(board["spiele"], GAMES)
        children = {child["name"]: child["spiele"] for child in board["kinder"]}
        self.assertEqual(set(children), {"Mia", "Ben", "Lea"})
        self.assertEqual(children["Mia"]["uhr"]["beste"], 120)
        self.assertEqual((children["Mia"]["uhr"]["gespielt"], children["Mia"]["uhr"]["gewonnen"]),
                         (2, 1))
        self.assertEqual(children["Ben"]["berg"]["beste"], 50)
        self.assertLess(abs(moment(children["Ben"]["berg"]["zuletzt"]) - now()).total_seconds(), 60)
        self.assertTrue(all(game["gespielt"] == 0 for game in children["Lea"].values()))
        self.assertEqual(board["schwierig"], [{"aufgabe": "6 mal 9", "kinder": 2, "falsch": 3},
                                              {"aufgabe": "1 m in cm", "kinder": 1, "falsch": 1}])

    def test_TheBoardIsNotSentAgainUntilSomethingChanged(self):
        klasse, geheim = MAIN.open_class()
        path = f"/api/klassen/{klasse}/tafel"
        first = MAIN.request("GET", path, secret=geheim)
        self.assertEqual(first.headers["etag"], f'"{first.json["stand"]}"')
        seen = {"If-None-Match": first.headers["etag"]}
        same = MAIN.request("GET", path, secret=geheim, headers=seen)
        self.assertEqual((same.status, same.body), (304, b""))
        MAIN.post_result(klasse, result())
        changed = MAIN.request("GET", path, secret=geheim, headers=seen)
        self.assertEqual(changed.status, 200)
        self.assertGreater(changed.json["stand"], first.json["stand"])

    def test_AChildsPageHasEveryGameWithEveryProblem(self):
        klasse, geheim = MAIN.open_class()
        sent = [result("Mia", spiel="glas", stufe=2, reihe=True),
                result("Mia", punkte=-5, aufgaben=[])]
        for one in sent:
            MAIN.post_result(klasse, one)
        MAIN.post_result(klasse, result("Ben"))
        page = MAIN.request("GET", f"/api/klassen/{klasse}/kinder/Mia", secret=geheim)
        games = page.json["spiele"]
        self.assertEqual(sorted(game["id"] for game in games), sorted(one["id"] for one in sent))
        for game in games:
            one = next(one for one in sent if one["id"] == game["id"])
            self.assertEqual({key: game[key] for key in one if key != "kind"},
                             {key: value for key, value in one.items() if key != "kind"})

    def test_ASecondCopyOfAResultIsStoredOnce(self):
        klasse, geheim = MAIN.open_class()
        sent = result("Mia", punkte=70)
        statuses = [MAIN.post_result(klasse, copy).status for copy in
                    [sent, sent, {**sent, "punkte": 999}]]
        self.assertEqual(statuses, [201, 200, 200])
        uhr = MAIN.games(klasse, geheim, "Mia")["uhr"]
        self.assertEqual((uhr["gespielt"], uhr["beste"]), (1, 70))

    def test_DeletingAChildTakesItsGamesAndLeavesTheOthers(self):
        klasse, geheim = MAIN.open_class()
        for kind in ["Mia", "Ben", "Ben"]:
            MAIN.post_result(klasse, result(kind))
        self.assertEqual(MAIN.request("DELETE", f"/api/klassen/{klasse}/kinder/Ben",
                                      secret=geheim).status, 204)
        board = MAIN.board(klasse, geheim)
        self.assertEqual([child["name"] for child in board["kinder"]], ["Mia"])
        ben = MAIN.request("GET", f"/api/klassen/{klasse}/kinder/Ben", secret=geheim)
        self.assertTrue(ben.status == 404 or ben.json["spiele"] == [])


class SecretTest(unittest.TestCase):
    def test_EveryTeacherRouteAnswersEveryWrongSecretLikeAMissingClass(self):
        klasse, geheim = MAIN.open_class()
        other, other_secret = MAIN.open_class("3c")
        MAIN.post_result(klasse, result())
        basic = base64.b64encode(f"{klasse}:{geheim}".encode()).decode()
        tampered = geheim[:-1] + ("A" if geheim[-1] != "A" else "B")
        missing = "".join(secrets.choice("abcdefghijklmnopqrstuvwxyz234567") for _ in range(12))
        tries = [  # (what, class, Authorization, query)
            ("no secret", klasse, None, ""),
            ("a random secret", klasse, f"Bearer {secrets.token_urlsafe(32)}", ""),
            ("another class's secret", klasse, f"Bearer {other_secret}", ""),
            ("the secret changed in its last letter", klasse, f"Bearer {tampered}", ""),
            ("an empty secret", klasse, "Bearer ", ""),
            ("the secret as a password", klasse, f"Basic {basic}", ""),
            ("the secret in the query", klasse, None, f"?geheim={geheim}"),
            ("the secret of a class that is not there", missing, f"Bearer {geheim}", ""),
        ]
        routes = [("GET", "/tafel"), ("GET", "/kinder/Mia"), ("GET", "/export.csv"),
                  ("DELETE", "/kinder/Mia"), ("DELETE", "")]
        for label, target, authorization, query in tries:
            for method, route in routes:
                with self.subTest(label, route=f"{method} {route}"):
                    answer = MAIN.request(method, f"/api/klassen/{target}{route}{query}",
                                          headers={"Authorization": authorization})
                    self.assertEqual((answer.status, answer.json), (404, {"fehler": NO_CLASS}))
        self.assertEqual(MAIN.games(klasse, geheim, "Mia")["uhr"]["gespielt"], 1)
        self.assertEqual(MAIN.board(other, other_secret)["name"], "3c")
