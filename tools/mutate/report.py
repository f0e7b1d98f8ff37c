"""The survivors explained as equivalent, and the report of a run."""

from __future__ import annotations

import json
import posixpath
from collections import Counter, defaultdict
from dataclasses import dataclass
from pathlib import Path

from scratch import IDENTICAL, KILLED, NOT_COMPILING, SURVIVED, TIMED_OUT, Result


def _squash(text: str) -> str:
    return " ".join(text.split())


@dataclass
class Equivalent:
    file: str
    function: str
    before: str
    after: str
    reason: str

    def key(self) -> tuple[str, str, str, str]:
        return self.file, self.function, _squash(self.before), _squash(self.after)


def read_equivalents(path: Path | None) -> dict[tuple, Equivalent]:
    """Reads the list of mutants that survive because nothing observable
    changes. Each entry is a line "FILE FUNCTION", then the mutated line
    before ("  - ") and after ("  + "), then the reason ("  = ")."""
    found: dict[tuple, Equivalent] = {}
    if not path or not path.exists():
        return found
    entry: dict[str, str] = {}

    def close(line_number: int):
        if not entry:
            return
        missing = [k for k in ("head", "-", "+", "=") if k not in entry]
        if missing:
            raise ValueError(f"{path}:{line_number}: an entry lacks its {' '.join(missing)} line")
        file, _, function = entry["head"].partition(" ")
        e = Equivalent(file, function.strip(), entry["-"], entry["+"], entry["="])
        found[e.key()] = e
        entry.clear()

    for n, raw in enumerate(path.read_text().splitlines(), 1):
        line = raw.rstrip()
        if not line or line.startswith("#"):
            close(n)
            continue
        if not line.startswith(" "):
            close(n)
            entry["head"] = line
            continue
        mark, text = line.strip()[:1], line.strip()[1:].strip()
        if mark not in ("-", "+", "=") or "head" not in entry:
            raise ValueError(f"{path}:{n}: expected '  - ', '  + ' or '  = '")
        entry[mark] = (entry.get(mark, "") + " " + text).strip() if mark == "=" else text
    close(0)
    return found


def equivalent_entry(r: Result, source: bytes, reason: str = "WHY NOTHING OBSERVABLE CHANGES") -> str:
    before, after = r.mutant.lines(source)
    return (f"{r.mutant.file} {r.mutant.function}\n  - {before.strip()}\n  + {after.strip()}\n"
            f"  = {reason}\n")


STATUS_ORDER = (KILLED, TIMED_OUT, SURVIVED, "equivalent", IDENTICAL, NOT_COMPILING)
UNTRIED = "listed as equivalent, not tried again"


def classify(results: list[Result], sources: dict[str, bytes], equivalents: dict[tuple, Equivalent]
             ) -> dict[int, str]:
    """Each result's final class: a survivor on the list of equivalents
    becomes "equivalent"."""
    out = {}
    for i, r in enumerate(results):
        status = r.status
        if status == SURVIVED:
            before, after = r.mutant.lines(sources[r.mutant.file])
            if (r.mutant.file, r.mutant.function, _squash(before), _squash(after)) in equivalents:
                status = "equivalent"
        out[i] = status
    return out


def write_report(path: Path, results: list[Result], sources: dict[str, bytes],
                 equivalents: dict[tuple, Equivalent], header: list[str], skipped: int) -> dict[str, int]:
    classes = classify(results, sources, equivalents)
    by_file: dict[str, Counter] = defaultdict(Counter)
    by_dir: dict[str, Counter] = defaultdict(Counter)
    total: Counter = Counter()
    for i, r in enumerate(results):
        c = classes[i]
        by_file[r.mutant.file][c] += 1
        by_dir[posixpath.dirname(r.mutant.file) or "."][c] += 1
        total[c] += 1

    def row(name: str, c: Counter) -> str:
        tried = sum(c.values())
        detected = c[KILLED] + c[TIMED_OUT]
        judged = detected + c[SURVIVED]
        score = f"{100 * detected / judged:.1f} %" if judged else "-"
        return (f"| {name} | {tried} | {c[KILLED]} | {c[TIMED_OUT]} | {c[SURVIVED]} | {c['equivalent']} | "
                f"{c[IDENTICAL]} | {c[NOT_COMPILING]} | {score} |")

    head = ("| | mutants | killed | timed out | survived | equivalent | identical | not compiling | "
            "detected of the rest |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|")
    lines = ["# Mutation report", ""] + header + [""]
    if skipped:
        lines += [f"Interrupted: {skipped} chosen mutants were not tried.", ""]
    lines += [
        "Classes: *killed*, a test failed; *timed out*, a test ran out of time; *survived*, every test",
        "passed; *equivalent*, survived and listed with its reason in the list of equivalents;",
        "(listed ones are not tried again unless --recheck-equivalents is given); *identical*,",
        "built into the very same test programs (nothing can tell it apart); *not",
        "compiling*, the mutant does not build. The last column counts killed and timed out among",
        "killed, timed out and survived.", "",
        "## Per directory", "", head]
    lines += [row(d, by_dir[d]) for d in sorted(by_dir)]
    lines += [row("**all**", total), "", "## Per file", "", head]
    lines += [row(f, by_file[f]) for f in sorted(by_file)]

    survivors = [(i, r) for i, r in enumerate(results) if classes[i] == SURVIVED]
    lines += ["", f"## Survivors ({len(survivors)})", ""]
    if not survivors:
        lines += ["None: every mutant that built was killed, timed out, or is explained as equivalent."]
    else:
        lines += ["Each is either a gap in the tests (write the test that kills it) or equivalent (add",
                  "the entry below it to the list of equivalents with the reason nothing observable",
                  "changes).", ""]
    for _, r in sorted(survivors, key=lambda x: (x[1].mutant.file, x[1].mutant.line)):
        src = sources[r.mutant.file]
        before, after = r.mutant.lines(src)
        lines += [f"### {r.mutant.file}:{r.mutant.line} in {r.mutant.function or '(file scope)'} "
                  f"({r.mutant.operator})", "", "```diff", f"-{before}", f"+{after}", "```", "",
                  "<details><summary>entry for the list of equivalents</summary>", "", "```",
                  equivalent_entry(r, src).rstrip(), "```", "</details>", ""]

    known = [(i, r) for i, r in enumerate(results) if classes[i] == "equivalent"]
    if known:
        lines += [f"## Equivalent ({len(known)})", ""]
        for _, r in sorted(known, key=lambda x: (x[1].mutant.file, x[1].mutant.line)):
            before, after = r.mutant.lines(sources[r.mutant.file])
            e = equivalents[(r.mutant.file, r.mutant.function, _squash(before), _squash(after))]
            mark = " (not tried again)" if r.detail == UNTRIED else ""
            lines += [f"- {r.mutant.file}:{r.mutant.line} `{_squash(after)}`{mark}: {e.reason}"]
        lines.append("")
    slow = [r for r in results if r.status == TIMED_OUT]
    if slow:
        lines += [f"## Timed out ({len(slow)})", ""]
        lines += [f"- {r.mutant.file}:{r.mutant.line} in {r.mutant.function} ({r.mutant.operator}), "
                  f"in {r.killer}" for r in slow]
        lines.append("")
    path.write_text("\n".join(lines) + "\n")
    return {k: total[k] for k in STATUS_ORDER}


def write_results(path: Path, results: list[Result], sources: dict[str, bytes],
                  equivalents: dict[tuple, Equivalent]):
    """Every result, machine-readable (for --retry and for comparing runs)."""
    classes = classify(results, sources, equivalents)
    rows = []
    for i, r in enumerate(results):
        before, after = r.mutant.lines(sources[r.mutant.file])
        rows.append({"file": r.mutant.file, "line": r.mutant.line, "function": r.mutant.function,
                     "operator": r.mutant.operator, "before": before, "after": after, "status": classes[i],
                     "killer": r.killer, "seconds": round(r.seconds, 2), "detail": r.detail,
                     "steps": [[what, round(sec, 2)] for what, sec in r.steps]})
    path.write_text(json.dumps(rows, indent=1) + "\n")
