"""The mutation runner's own test, on the small project in fixture/:
the operators find what they should, and a run kills a mutant that changes
what the test sees while a known equivalent one survives, without touching
the project's files.

  python3 -m unittest tools/mutate/test_mutate.py    (MUTATE_TEST_BUILD: where to build)
"""

from __future__ import annotations

import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
FIXTURE = HERE / "fixture"
sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, str(HERE))

import mutate  # noqa: E402
import report  # noqa: E402
import sites  # noqa: E402


def fixture_mutants(rel: str) -> set[tuple[int, str, str]]:
    """(line, operator, the mutated line) of every mutant of a fixture file."""
    source = (FIXTURE / rel).read_bytes()
    trees = sites.syntax_tree(FIXTURE / rel, ["-std=c++20", f"-I{FIXTURE}"], "fx")
    return {(m.line, m.operator, m.lines(source)[1].strip()) for m in sites.find_mutants(rel, source, trees)}


class Operators(unittest.TestCase):
    def test_each_operator_finds_its_mutants(self):
        found = fixture_mutants("src/tally.cpp")
        for expected in [
            (16, "comparison", "for (int i = 0; i <= n; ++i) Note(t, !(shots[i] < mark));"),
            (18, "comparison", "t.hits = cap != 0 ? 0 : cap;"),
            (17, "literal", "const int cap = Clamp(t.hits, 1, n);"),
            (16, "literal", "for (int i = (-1); i < n; ++i) Note(t, !(shots[i] < mark));"),
            (16, "negation", "for (int i = 0; i < n; ++i) Note(t, (shots[i] < mark));"),
            (7, "negation", "if (!(hit))"),
            (10, "deletion", ";"),
            (16, "deletion", "for (int i = 0; i < n; ++i) ;"),
            (17, "swap", "const int cap = Clamp(0, t.hits, n);"),
            (8, "variable", "t.misses += 1;"),  # a field for another of its type
            (18, "variable", "t.hits = cap == 0 ? 0 : n;"),
            (16, "index", "for (int i = 0; i < n; ++i) Note(t, !(shots[(i + 1)] < mark));"),
        ]:
            self.assertIn(expected, found)
        # Only variables declared by then and still in scope stand in for one.
        self.assertNotIn((17, "variable", "const int cap = Clamp(t.hits, 0, i);"), found)
        self.assertNotIn((17, "variable", "const int cap = Clamp(t.hits, 0, cap);"), found)
        # Only neighbouring arguments of one type are swapped; different types never.
        self.assertNotIn((16, "swap", "for (int i = 0; i < n; ++i) Note(!(shots[i] < mark), t);"), found)

    def test_a_fields_default_belongs_to_its_record(self):
        self.assertIn((9, "literal", "int hits = 1;"), fixture_mutants("src/clamp.h"))
        source = (FIXTURE / "src/clamp.h").read_bytes()
        trees = sites.syntax_tree(FIXTURE / "src/clamp.h", ["-std=c++20", f"-I{FIXTURE}"], "fx")
        self.assertEqual({m.function for m in sites.find_mutants("src/clamp.h", source, trees)}, {"Tally"})


class Choosing(unittest.TestCase):
    def test_changed_lines_come_from_the_new_side_of_the_diff(self):
        diff = ("diff --git a/game/x.cpp b/game/x.cpp\n--- a/game/x.cpp\n+++ b/game/x.cpp\n"
                "@@ -3 +3,2 @@\n-a\n+b\n+c\n@@ -10,2 +11,0 @@\n-d\n-e\n"
                "diff --git a/gone.cpp b/gone.cpp\n--- a/gone.cpp\n+++ /dev/null\n@@ -1 +0,0 @@\n-x\n")
        self.assertEqual(mutate.parse_diff(diff), {"game/x.cpp": {3, 4}})

    def test_per_line_takes_different_operators_and_depends_only_on_its_line(self):
        src = {"a.cpp": b"x < y && f(1, 2);\nz;\n"}
        ms = [sites.Mutant("a.cpp", 2, 3, b"<=", "comparison", "F", 1),
              sites.Mutant("a.cpp", 12, 13, b"2", "literal", "F", 1),
              sites.Mutant("a.cpp", 15, 16, b"3", "literal", "F", 1),
              sites.Mutant("a.cpp", 12, 16, b"2, 1", "swap", "F", 1)]
        two = mutate.per_line(ms, 2, 7, src)
        self.assertEqual(len(two), 2)
        self.assertEqual(len({m.operator for m in two}), 2)
        self.assertEqual(two, mutate.per_line(list(reversed(ms)), 2, 7, src))
        moved = {"a.cpp": b"\n" + src["a.cpp"]}
        shifted = [sites.Mutant(m.file, m.start + 1, m.end + 1, m.replacement, m.operator, m.function, 2) for m in ms]
        self.assertEqual([m.replacement for m in mutate.per_line(shifted, 2, 7, moved)],
                         [m.replacement for m in two])

    def test_per_function_keeps_every_function_with_different_operators(self):
        ms = [sites.Mutant("a.cpp", 2, 3, b"<=", "comparison", "F", 1),
              sites.Mutant("a.cpp", 4, 5, b">=", "comparison", "F", 1),
              sites.Mutant("a.cpp", 12, 13, b"2", "literal", "F", 2),
              sites.Mutant("a.cpp", 20, 21, b"3", "literal", "G", 3)]
        two = mutate.per_function(ms, 2, 7)
        self.assertEqual([m.function for m in two].count("F"), 2)
        self.assertEqual({m.operator for m in two if m.function == "F"}, {"comparison", "literal"})
        self.assertIn(ms[3], two)
        self.assertEqual(two, mutate.per_function(list(reversed(ms)), 2, 7))

    def test_an_entry_of_the_equivalents_list_needs_all_four_lines(self):
        with tempfile.TemporaryDirectory() as d:
            path = Path(d, "eq.txt")
            path.write_text("a.cpp F\n  - x < y\n  + x <= y\n")
            with self.assertRaisesRegex(ValueError, "lacks its ="):
                report.read_equivalents(path)
            path.write_text("# note\na.cpp F\n  - x  < y\n  + x <= y\n  = Equal\n  = at y.\n")
            (entry,) = report.read_equivalents(path).values()
            self.assertEqual(entry.key(), ("a.cpp", "F", "x < y", "x <= y"))
            self.assertEqual(entry.reason, "Equal at y.")


class Ordering(unittest.TestCase):
    def test_a_files_known_killers_run_first_then_the_plan_without_them(self):
        import scratch
        unit = scratch.Stage("unit", ["t"], [], [])
        window = scratch.Stage("window", ["w"], [], [], display=True)
        plan = scratch.Plan([scratch.Invocation(unit, "-Slow.A", 1.0), scratch.Invocation(unit, "Slow.A", 9.0),
                             scratch.Invocation(window, None, 5.0)],
                            {("unit", "Quick.B"): 0.1, ("unit", "Slow.A"): 9.0, ("window", "W.C"): 2.0,
                             ("window", "W.D"): 3.0})
        with tempfile.TemporaryDirectory() as d:
            killers = scratch.Killers(Path(d, "killers.json"))
            for stage, test in [("window", "W.D"), ("unit", "Slow.A"), ("window", "W.C"), ("unit", "Gone.E")]:
                killers.note("a.cpp", stage, test)
            killers.save()
            first = scratch.Killers(Path(d, "killers.json")).first("a.cpp", plan)  # as the next run reads them
        # One run per program, in the plan's order; a test no longer there is left out.
        self.assertEqual([(i.stage.name, i.gtest_filter, i.seconds) for i in first],
                         [("unit", "Slow.A", 9.0), ("window", "W.C:W.D", 5.0)])
        self.assertEqual(scratch.Killers(None).first("a.cpp", plan), [])
        # The plan's runs then leave out what already ran.
        self.assertEqual(scratch._without(plan.runs[0], {"Slow.A", "Quick.B"}).gtest_filter, "-Slow.A:Quick.B")
        self.assertIsNone(scratch._without(plan.runs[1], {"Slow.A"}))
        self.assertEqual(scratch._without(plan.runs[2], {"W.C", "W.D"}).gtest_filter, "-W.C:W.D")


def tree_digest(root: Path) -> str:
    h = hashlib.sha1()
    for p in sorted(root.rglob("*")):
        if p.is_file():
            h.update(str(p.relative_to(root)).encode() + p.read_bytes())
    return h.hexdigest()


class Run(unittest.TestCase):
    def test_a_run_kills_a_mutant_and_an_equivalent_survives(self):
        build = Path(os.environ.get("MUTATE_TEST_BUILD") or tempfile.mkdtemp(prefix="mutate_test_"))
        shutil.rmtree(build / "copy1" / "src", ignore_errors=True)
        before = tree_digest(FIXTURE)
        run = subprocess.run([sys.executable, str(HERE / "mutate.py"), "--config", str(FIXTURE / "mutate.json"),
                              "--function", "Clamp", "--function", "Spare", "--per-line", "0", "--jobs", "2", "--build-root", str(build)],
                             capture_output=True, text=True)
        self.assertEqual(tree_digest(FIXTURE), before, "the project's own files must stay as they were")
        results = {(r["line"], r["after"].strip()): r for r in json.loads((build / "results.json").read_text())}
        self.assertEqual(len(results), 21, run.stderr)
        # The test sees Clamp(5, 0, 10) give 0.
        killed = results[(6, "if (!(value < low)) return low;")]
        self.assertEqual((killed["status"], killed["killer"]), ("killed", "Clamp.KeepsTheValueWithinItsBounds"))
        # At value == low both give low: explained in fixture/equivalent.txt, so not tried again.
        listed = results[(6, "if (value <= low) return low;")]
        self.assertEqual((listed["status"], listed["detail"]), ("equivalent", report.UNTRIED))
        # The same at value == high, but not explained: a survivor to triage.
        self.assertEqual(results[(7, "if (value >= high) return high;")]["status"], "survived")
        # Spare is in no test program: its mutants build the same programs.
        self.assertEqual(results[(6, "int Spare(int x) { return x + 3; }")]["status"], "identical")
        self.assertEqual({r["status"] for r in results.values()}, {"killed", "equivalent", "survived", "identical"})
        self.assertEqual(run.returncode, 1, "a survivor not explained fails the run")
        text = (build / "report.md").read_text()
        self.assertIn("### src/clamp.cpp:7 in Clamp (comparison)", text)
        self.assertIn("+  if (value >= high) return high;", text)
        self.assertIn("| src | 21 | 16 | 0 | 1 | 1 | 3 | 0 | 94.1 % |", text)
        # The next run puts the tests that killed a file's mutants first.
        killers = json.loads((build / "killers.json").read_text())
        self.assertIn("Clamp.KeepsTheValueWithinItsBounds", killers["src/clamp.cpp"]["unit"])


if __name__ == "__main__":
    unittest.main()
