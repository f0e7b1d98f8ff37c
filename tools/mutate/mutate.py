#!/usr/bin/env python3
"""Mutation runner: plants one small fault at a time in a scratch copy of the
project, builds it and runs the tests, and reports the faults no test caught.

  tools/mutate/mutate.py                      the whole campaign (2 mutants a line)
  tools/mutate/mutate.py --since main         the lines changed since main
  tools/mutate/mutate.py --file 'game/*' --function CompleteLevel

The work tree is only read: mutants are written into copies under
build/mutants/, one copy and build directory per job.
"""

from __future__ import annotations

import argparse
import fnmatch
import hashlib
import json
import os
import queue
import random
import re
import signal
import subprocess
import sys
import threading
import time
from collections import defaultdict
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ beside the sources
sys.path.insert(0, str(Path(__file__).resolve().parent))

import report  # noqa: E402
import scratch  # noqa: E402
import sites  # noqa: E402
from scratch import Config, Result, Worker  # noqa: E402
from sites import Mutant  # noqa: E402

HERE = Path(__file__).resolve().parent


def parse_args(argv: list[str]) -> argparse.Namespace:
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--config", type=Path, default=HERE / "quizzlebox.json", help="the project's configuration")
    p.add_argument("--since", metavar="REF", help="only lines changed since REF (the work tree's changes included)")
    p.add_argument("--file", action="append", default=[], metavar="GLOB", help="only files matching (repeatable)")
    p.add_argument("--function", action="append", default=[], metavar="GLOB",
                   help="only mutants in functions matching (repeatable)")
    p.add_argument("--operator", action="append", default=[], choices=sites.OPERATORS,
                   help="only these operators (repeatable)")
    p.add_argument("--line", type=int, action="append", default=[], help="only mutants on this line (repeatable)")
    p.add_argument("--retry", type=Path, metavar="RESULTS",
                   help="only the survivors of an earlier run (its results.json)")
    p.add_argument("--per-line", type=int, default=2, metavar="K",
                   help="at most K mutants per source line, of different operators where possible (0: all)")
    p.add_argument("--per-function", type=int, default=0, metavar="K",
                   help="then at most K mutants per function, of different operators and lines where possible "
                        "(0: no limit); a quick campaign that still reaches every function")
    p.add_argument("--sample", type=int, metavar="N", help="then at most N mutants, drawn at random")
    p.add_argument("--seed", type=int, default=1, help="seed of every random choice (default 1)")
    p.add_argument("--jobs", type=int, default=os.cpu_count() or 1, help="scratch copies working at once")
    p.add_argument("--build-root", type=Path, help="where the copies and the report go (default build/mutants)")
    p.add_argument("--slack", type=float, default=10.0,
                   help="seconds a test run may take beyond three times its time without mutants")
    p.add_argument("--recheck-equivalents", action="store_true",
                   help="try the mutants listed as equivalent too (they are counted as equivalent untried otherwise)")
    p.add_argument("--list", action="store_true", help="list the chosen mutants and stop")
    return p.parse_args(argv)


# ---- choosing the mutants ----


def changed_lines(root: Path, ref: str) -> dict[str, set[int]]:
    """The lines of each file that differ from REF, new files whole."""
    out = subprocess.run(["git", "diff", "--relative", "--unified=0", "--no-color", "--no-ext-diff", ref, "--", "."],
                         cwd=root, capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit(f"mutate: git diff {ref} failed: {out.stderr.strip()}")
    lines = parse_diff(out.stdout)
    new = subprocess.run(["git", "ls-files", "-o", "--exclude-standard"], cwd=root, capture_output=True, text=True)
    for f in new.stdout.split():
        lines[f] = {n for n in range(1, 1 + (root / f).read_bytes().count(b"\n") + 1)}
    return lines


def parse_diff(diff: str) -> dict[str, set[int]]:
    lines: dict[str, set[int]] = defaultdict(set)
    current = None
    for line in diff.splitlines():
        if line.startswith("+++ "):
            current = None if line[4:] == "/dev/null" else line[4:].removeprefix("b/")
        elif line.startswith("@@") and current:
            m = re.match(r"@@ -\S+ \+(\d+)(?:,(\d+))? @@", line)
            if m:
                start, count = int(m.group(1)), int(m.group(2) or 1)
                lines[current].update(range(start, start + count))
    return dict(lines)


def per_line(mutants: list[Mutant], k: int, seed: int, sources: dict[str, bytes]) -> list[Mutant]:
    """At most k mutants of each line, of different operators where there are;
    the choice on one line depends only on the seed and that line."""
    if k <= 0:
        return mutants
    groups: dict[tuple[str, int], list[Mutant]] = defaultdict(list)
    for m in mutants:
        groups[(m.file, m.line)].append(m)
    chosen = []
    for (file, line), group in groups.items():
        text = sources[file].split(b"\n")[line - 1]
        rng = random.Random(hashlib.sha1(f"{seed}\0{file}\0".encode() + text).digest())
        by_op: dict[str, list[Mutant]] = defaultdict(list)
        for m in sorted(group):
            by_op[m.operator].append(m)
        ops = sorted(by_op)
        rng.shuffle(ops)
        picked: list[Mutant] = []
        while len(picked) < k and any(by_op.values()):
            for op in ops:
                if by_op[op] and len(picked) < k:
                    picked.append(by_op[op].pop(rng.randrange(len(by_op[op]))))
        chosen += picked
    return sorted(chosen)


def per_function(mutants: list[Mutant], k: int, seed: int) -> list[Mutant]:
    """At most k mutants of each function, of different operators and lines
    where there are; the choice in one function depends only on the seed and
    that function's mutants."""
    if k <= 0:
        return mutants
    groups: dict[tuple[str, str], list[Mutant]] = defaultdict(list)
    for m in mutants:
        groups[(m.file, m.function)].append(m)
    chosen = []
    for (file, function), group in groups.items():
        rng = random.Random(hashlib.sha1(f"{seed}\0{file}\0{function}".encode()).digest())
        pool = sorted(group)
        rng.shuffle(pool)
        picked: list[Mutant] = []
        for m in pool:  # first of new operators on new lines, then of new operators, then any
            if len(picked) < k and all(m.operator != p.operator and m.line != p.line for p in picked):
                picked.append(m)
        for m in pool:
            if len(picked) < k and m not in picked and all(m.operator != p.operator for p in picked):
                picked.append(m)
        for m in pool:
            if len(picked) < k and m not in picked:
                picked.append(m)
        chosen += picked
    return sorted(chosen)


class Sites:
    """The mutants of each source file, found with clang and kept by the
    file's content so that a later run need not read it again."""

    def __init__(self, config: Config, worker: Worker, cache: Path):
        self.config, self.worker, self.cache = config, worker, cache
        cache.mkdir(parents=True, exist_ok=True)
        commands = json.loads((worker.build / "compile_commands.json").read_text())
        self.commands: dict[str, dict] = {}
        for c in commands:
            path = Path(c["directory"], c["file"]).resolve()
            try:
                self.commands[str(path.relative_to(worker.src.resolve()))] = c
            except ValueError:
                pass
        self.tool = hashlib.sha1((HERE / "sites.py").read_bytes()).hexdigest()

    def flags(self, rel: str) -> list[str] | None:
        if rel in self.commands:
            return sites.clang_flags(self.commands[rel])
        if not rel.endswith((".h", ".hpp")):
            return None  # not built here (another platform's back end)
        folder = os.path.dirname(rel)
        near = [f for f in self.commands if os.path.dirname(f) == folder] or sorted(self.commands)
        return sites.clang_flags(self.commands[near[0]]) if near else None

    def of(self, rel: str, source: bytes) -> list[Mutant] | None:
        """The file's mutants, or None when it cannot be read here."""
        flags = self.flags(rel)
        if flags is None:
            return None
        key = hashlib.sha1("\0".join([self.tool, rel, *flags]).encode() + source).hexdigest()
        cached = self.cache / f"{key}.json"
        if cached.exists():
            rows = json.loads(cached.read_text())
            return [Mutant(rel, r[0], r[1], bytes.fromhex(r[2]), r[3], r[4], r[5]) for r in rows]
        try:
            trees = sites.syntax_tree(self.worker.src / rel, flags, self.config.namespace)
        except RuntimeError:
            if rel.endswith((".h", ".hpp")):
                return None  # a header of code not built here (another platform's back end)
            raise
        found = sites.find_mutants(rel, source, trees)
        cached.write_text(json.dumps([[m.start, m.end, m.replacement.hex(), m.operator, m.function, m.line]
                                      for m in found]))
        return found


def choose(args: argparse.Namespace, config: Config, worker: Worker, files: list[str], build_root: Path
           ) -> tuple[list[Mutant], dict[str, bytes], list[str]]:
    wanted = [f for f in files if any(fnmatch.fnmatch(f, g) for g in config.sources)
              and f.endswith((".cpp", ".cc", ".h", ".hpp"))]
    if args.file:
        wanted = [f for f in wanted if any(fnmatch.fnmatch(f, g) for g in args.file)]
    lines = changed_lines(config.root, args.since) if args.since else None
    if lines is not None:
        wanted = [f for f in wanted if f in lines]
    sources = {f: (config.root / f).read_bytes() for f in wanted}
    finder = Sites(config, worker, build_root / "sites")
    with ThreadPoolExecutor(max(1, args.jobs)) as pool:
        found = list(pool.map(lambda f: finder.of(f, sources[f]), wanted))
    not_built = [f for f, group in zip(wanted, found) if group is None]
    mutants = [m for group in found if group for m in group]
    if lines is not None:
        mutants = [m for m in mutants if m.line in lines.get(m.file, ())]
    if args.function:
        mutants = [m for m in mutants if any(fnmatch.fnmatch(m.function, g) for g in args.function)]
    if args.operator:
        mutants = [m for m in mutants if m.operator in args.operator]
    if args.line:
        mutants = [m for m in mutants if m.line in args.line]
    if args.retry:
        survivors = {(r["file"], r["function"], " ".join(r["before"].split()), " ".join(r["after"].split()))
                     for r in json.loads(args.retry.read_text()) if r["status"] == "survived"}
        mutants = [m for m in mutants if tuple(m.key(sources[m.file]).split("\t")) in survivors]
    mutants = per_line(mutants, 0 if args.retry else args.per_line, args.seed, sources)
    mutants = per_function(mutants, 0 if args.retry else args.per_function, args.seed)
    if args.sample is not None and len(mutants) > args.sample:
        mutants = sorted(random.Random(args.seed).sample(mutants, args.sample))
    return mutants, sources, not_built


# ---- running them ----


class Progress:
    def __init__(self, total: int):
        self.total, self.done, self.started = total, 0, time.monotonic()
        self.counts: dict[str, int] = defaultdict(int)
        self.lock = threading.Lock()

    def add(self, r: Result):
        with self.lock:
            self.done += 1
            self.counts[r.status] += 1
            elapsed = time.monotonic() - self.started
            left = elapsed / self.done * (self.total - self.done)
            summary = ", ".join(f"{v} {k}" for k, v in sorted(self.counts.items()))
            print(f"\r[{self.done}/{self.total}] {summary}; {left / 60:.0f} min left   ", end="", file=sys.stderr,
                  flush=True)


def run_mutants(workers: list[Worker], mutants: list[Mutant], sources: dict[str, bytes],
                plan: scratch.Plan, slack: float, killers: scratch.Killers, checkpoint) -> list[Result]:
    """Tries the mutants on the workers; calls checkpoint(results so far)
    every minute, so that a long run's report can be read while it runs."""
    # Mutants of one file stay together, in chunks, so that a copy rebuilds
    # one file per mutant. Headers go first: each of their mutants rebuilds
    # every file that includes them, and one left for the end would keep a
    # copy busy long after the others are done.
    by_file: dict[str, list[Mutant]] = defaultdict(list)
    for m in mutants:
        by_file[m.file].append(m)
    chunks: queue.Queue = queue.Queue()
    for file in sorted(by_file, key=lambda f: (not f.endswith((".h", ".hpp")), -len(by_file[f]), f)):
        group = by_file[file]
        for i in range(0, len(group), 8):
            chunks.put(group[i:i + 8])
    results: list[Result] = []
    progress = Progress(len(mutants))
    lock = threading.Lock()
    failure: list[BaseException] = []

    def work(worker: Worker):
        try:
            while not scratch.stopping.is_set():
                try:
                    chunk = chunks.get_nowait()
                except queue.Empty:
                    return
                for m in chunk:
                    r = worker.try_mutant(m, sources[m.file], plan, slack, killers)
                    with lock:
                        results.append(r)
                    progress.add(r)
        except scratch.Stopped:
            pass
        except BaseException as e:  # noqa: BLE001 - reported by the main thread
            failure.append(e)
            scratch.end_all_processes()
        finally:
            worker.restore()

    threads = [threading.Thread(target=work, args=(w,), daemon=True) for w in workers]
    for t in threads:
        t.start()
    last = time.monotonic()
    try:
        for t in threads:
            while t.is_alive():
                t.join(0.2)
                if time.monotonic() - last > 60:
                    with lock:
                        done = list(results)
                    checkpoint(done)
                    last = time.monotonic()
    except KeyboardInterrupt:
        print("\ninterrupted: ending the tests that run, writing the report of what is done", file=sys.stderr)
        scratch.end_all_processes()
        for t in threads:
            t.join()
    print(file=sys.stderr)
    if failure:
        raise failure[0]
    return results


def main(argv: list[str]) -> int:
    args = parse_args(argv)
    # A termination request ends the run as Ctrl-C does: with a report of what is done.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    config = Config.load(args.config)
    build_root = (args.build_root or config.root / "build" / "mutants").resolve()
    build_root.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()
    files = scratch.project_files(config.root, build_root)
    commit = subprocess.run(["git", "describe", "--always", "--dirty"], cwd=config.root, capture_output=True,
                            text=True).stdout.strip()
    mutants: list[Mutant] = []
    sources: dict[str, bytes] = {}
    not_built: list[str] = []

    def write(results: list[Result], prepared: float, note: str = "") -> dict[str, int]:
        """Writes the report and the results of what is done; the list of
        equivalents is read afresh, so that it may grow while a run goes on."""
        equivalents = report.read_equivalents(config.equivalents)
        header = [f"Run `{' '.join(['scripts/mutants', *argv])}` on {commit or 'the work tree'}, "
                  f"{time.strftime('%Y-%m-%d %H:%M')}: {len(results)} mutants with {len(workers)} jobs in "
                  f"{(time.monotonic() - started) / 60:.1f} min ({(prepared - started) / 60:.1f} min to prepare "
                  f"the copies)."]
        if note:
            header.append(note)
        if not_built:
            header.append(f"Not built here, so not mutated: {', '.join(not_built)}.")
        skipped = 0 if note else len(mutants) - len(results)
        counts = report.write_report(build_root / "report.md", results, sources, equivalents, header, skipped)
        report.write_results(build_root / "results.json", results, sources, equivalents)
        killers.save()
        return counts

    workers = [Worker(config, build_root / f"copy{i + 1}") for i in range(max(1, args.jobs))]
    killers = scratch.Killers(build_root / "killers.json")
    try:
        # The first copy's build directory names the compile flags clang reads the sources with.
        workers[0].sync(files)
        ok, out = workers[0].configure()
        if not ok:
            sys.exit(f"mutate: configuring the scratch copy failed:\n{out[-3000:]}")
        try:
            mutants, sources, not_built = choose(args, config, workers[0], files, build_root)
        except RuntimeError:
            # A source includes a header that the build generates: build the
            # first copy, then read the sources again.
            workers[0].prepare(files)
            mutants, sources, not_built = choose(args, config, workers[0], files, build_root)
        if args.list:
            for m in mutants:
                before, after = m.lines(sources[m.file])
                print(f"{m.file}:{m.line}: {m.function} ({m.operator}): {after.strip()}")
            print(f"{len(mutants)} mutants", file=sys.stderr)
            return 0
        if not mutants:
            print("mutate: no mutants to try", file=sys.stderr)

        # Mutants already explained as equivalent are not tried again unless asked.
        listed = report.read_equivalents(config.equivalents)
        untried = [] if args.recheck_equivalents else [
            m for m in mutants if tuple(m.key(sources[m.file]).split("\t")) in listed]
        to_try = [m for m in mutants if m not in set(untried)]
        workers = workers[:max(1, min(len(workers), len(to_try)))]
        print(f"mutate: {len(mutants)} mutants in {len(sources)} files, {len(untried)} of them listed as "
              f"equivalent; preparing {len(workers)} copies", file=sys.stderr)
        with ThreadPoolExecutor(len(workers)) as pool:
            list(pool.map(lambda w: w.prepare(files), workers))
        plan = workers[0].measure()
        prepared = time.monotonic()
        known = [Result(m, scratch.SURVIVED, detail=report.UNTRIED) for m in untried]
        results = known + run_mutants(
            workers, to_try, sources, plan, args.slack, killers,
            lambda done: write(known + done, prepared, f"In progress: {len(done)} of {len(to_try)} tried."))
    except scratch.Stopped:
        results = []
        prepared = time.monotonic()
    except KeyboardInterrupt:
        scratch.end_all_processes()
        print("\nmutate: interrupted before any mutant was tried", file=sys.stderr)
        return 130
    finally:
        for w in workers:
            w.close()
    counts = write(results, prepared)
    print("mutate: " + ", ".join(f"{v} {k}" for k, v in counts.items() if v), file=sys.stderr)
    print(f"mutate: report in {build_root / 'report.md'}", file=sys.stderr)
    if len(results) < len(mutants):
        return 130
    return 1 if counts[scratch.SURVIVED] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
