"""Floods, each against a service of its own with the usual limits: answered 429, and the service
answers again afterwards."""

import threading
import time
import unittest

from service import Service, binary, result


class FloodTest(unittest.TestCase):
    def setUp(self):
        self.service = Service(binary())

    def tearDown(self):
        self.assertIsNone(self.service.process.poll(), "the service fell over")
        self.service.stop()

    def flood(self, path, threads=8, most=8000):
        """GETs from one address, many at once, until one is answered 429 or `most` were sent;
        how many of each status came back."""
        counts = {}
        lock = threading.Lock()

        def send():
            while True:
                with lock:
                    if counts.get(429) or sum(counts.values()) >= most:
                        return
                status = self.service.request("GET", path).status
                with lock:
                    counts[status] = counts.get(status, 0) + 1

        workers = [threading.Thread(target=send) for _ in range(threads)]
        for worker in workers:
            worker.start()
        for worker in workers:
            worker.join()
        return counts

    def test_AFloodFromOneAddressIsAnswered429AndTheServiceAnswersAfterwards(self):
        klasse, _ = self.service.open_class()
        counts = self.flood(f"/api/klassen/{klasse}")
        self.assertGreater(counts.get(429, 0), 0, counts)
        self.assertEqual(set(counts), {200, 429})
        time.sleep(1)
        self.assertEqual(self.service.request("GET", f"/api/klassen/{klasse}").status, 200)
        self.assertEqual(self.service.request("GET", "/api/gesund").status, 200)

    def test_AFloodIntoOneClassIsAnswered429AndNoRefusedResultIsStored(self):
        klasse, geheim = self.service.open_class()
        statuses = [self.service.post_result(klasse, result()).status for _ in range(300)]
        self.assertEqual(set(statuses), {201, 429})
        stored = self.service.games(klasse, geheim, "Mia")["uhr"]["gespielt"]
        self.assertEqual(stored, statuses.count(201))
        # Another class is not held up by this one.
        other, _ = self.service.open_class("3c")
        self.assertEqual(self.service.post_result(other, result()).status, 201)

    def test_WrongSecretsAreSlowedDownAndTheRightOneWorksAgainLater(self):
        klasse, geheim = self.service.open_class()
        statuses = [self.service.request("GET", f"/api/klassen/{klasse}/tafel",
                                         secret=geheim[:-2] + "xy").status for _ in range(20)]
        self.assertEqual(statuses[0], 404)
        self.assertEqual(statuses[-1], 429)
        self.assertEqual(set(statuses), {404, 429})
        # Slowed down, not locked out: a few seconds later the right secret is let through.
        deadline = time.monotonic() + 30
        path = f"/api/klassen/{klasse}/tafel"
        while self.service.request("GET", path, secret=geheim).status == 429:
            self.assertLess(time.monotonic(), deadline)
            time.sleep(1)
        self.assertEqual(self.service.board(klasse, geheim)["name"], "3b Dienstag")
