"""Runs every *_test.py here against the zifferix-klassen named on the command line."""

import os
import sys
import unittest

os.environ["ZIFFERIX_KLASSEN"] = sys.argv[1]
here = os.path.dirname(os.path.abspath(__file__))
suite = unittest.defaultTestLoader.discover(here, pattern="*_test.py", top_level_dir=here)
outcome = unittest.TextTestRunner(verbosity=2).run(suite)

from service import CONTRACT  # noqa: E402 (the path is the tests' own once they are loaded)

never = CONTRACT.operations() - CONTRACT.answered
if never:
    print(f"Operations no test called: {', '.join(sorted(never))}")
sys.exit(0 if outcome.wasSuccessful() and outcome.testsRun > 0 and not never else 1)
