"""A scratch copy of the project with its own build directory, where one
mutant at a time is built and tested. The work tree itself is only read."""

from __future__ import annotations

import fnmatch
import hashlib
import json
import os
import re
import signal
import subprocess
import threading
import time
from dataclasses import dataclass, field
from pathlib import Path

from sites import Mutant

# Outcomes of one mutant.
KILLED, SURVIVED, TIMED_OUT, NOT_COMPILING, IDENTICAL = (
    "killed", "survived", "timed out", "not compiling", "identical")


@dataclass
class Stage:
    """One test program: the build targets it needs, how to run it, and the
    files whose change can change what it sees."""
    name: str
    command: list[str]
    targets: list[str]
    uses: list[str]
    gtest: bool = True
    display: bool = False
    confirm: bool = False  # a failure counts only if the failing test fails again alone
    files: list[str] | None = None  # globs of the sources whose mutants it tests (None: all)

    def tests_file(self, rel: str) -> bool:
        return self.files is None or any(fnmatch.fnmatch(rel, g) for g in self.files)


@dataclass
class Config:
    root: Path
    namespace: str
    sources: list[str]
    configure: list[str]
    build: list[str]
    stages: list[Stage]
    equivalents: Path | None

    @staticmethod
    def load(path: Path, root: Path | None = None) -> "Config":
        data = json.loads(path.read_text())
        root = (root or (path.parent / data.get("root", ".")).resolve())
        stages = [Stage(s["name"], s["command"], s.get("targets", []), s.get("uses", []), s.get("gtest", True),
                        s.get("display", False), s.get("confirm", False), s.get("files")) for s in data["stages"]]
        eq = data.get("equivalents")
        return Config(root, data["namespace"], data["sources"], data["configure"], data["build"], stages,
                      root / eq if eq else None)


@dataclass
class Invocation:
    """One run of a stage's program: all of it, or the tests a filter names."""
    stage: Stage
    gtest_filter: str | None
    seconds: float  # how long it took without mutants


@dataclass
class Result:
    mutant: Mutant
    status: str
    killer: str = ""  # the test that failed, or the stage that timed out
    seconds: float = 0.0
    detail: str = ""
    steps: list[tuple[str, float]] = field(default_factory=list)  # what the time went on: building, each run


@dataclass
class Plan:
    """The runs for a mutant, in order, and how long each test took without
    mutants (by stage name and test name)."""
    runs: list[Invocation]
    times: dict[tuple[str, str], float]


class Killers:
    """The tests that killed mutants of each file, kept between runs in a
    file of the build root: a file's next mutants meet those tests first, in
    one run of each program, before the rest of the plan."""

    def __init__(self, path: Path | None):
        self.path = path
        self.lock = threading.Lock()
        self.by_file: dict[str, dict[str, dict[str, int]]] = {}  # file -> stage -> test -> kills
        if path and path.exists():
            try:
                self.by_file = json.loads(path.read_text())
            except ValueError:
                self.by_file = {}

    def note(self, file: str, stage: str, test: str):
        with self.lock:
            tests = self.by_file.setdefault(file, {}).setdefault(stage, {})
            tests[test] = tests.get(test, 0) + 1

    def first(self, file: str, plan: Plan) -> list[Invocation]:
        """One run per stage of the tests that killed the file's mutants, in
        the plan's order of stages; tests no longer in the plan are left out."""
        with self.lock:
            known = {stage: dict(tests) for stage, tests in self.by_file.get(file, {}).items()}
        runs, seen = [], set()
        for inv in plan.runs:
            stage = inv.stage
            if stage.name in seen or stage.name not in known or not stage.gtest:
                continue
            seen.add(stage.name)
            names = sorted(t for t in known[stage.name] if (stage.name, t) in plan.times)
            if names:
                runs.append(Invocation(stage, ":".join(names), sum(plan.times[(stage.name, t)] for t in names)))
        return runs

    def save(self):
        if not self.path:
            return
        with self.lock:
            text = json.dumps(self.by_file, indent=1, sort_keys=True) + "\n"
        self.path.write_text(text)


class Stopped(Exception):
    """The run was interrupted."""


# Every process a worker has started, so that an interrupt can end them all.
_running: set[subprocess.Popen] = set()
_running_lock = threading.Lock()
stopping = threading.Event()


def end_all_processes():
    stopping.set()
    with _running_lock:
        for p in list(_running):
            try:
                os.killpg(p.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


def run(cmd: list[str], cwd: Path | None = None, env: dict | None = None, timeout: float | None = None
        ) -> tuple[int | None, str]:
    """Runs a command in its own process group; returns (status, output),
    status None when it ran out of time."""
    if stopping.is_set():
        raise Stopped()
    p = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         stdin=subprocess.DEVNULL, start_new_session=True)
    with _running_lock:
        _running.add(p)
    try:
        out, _ = p.communicate(timeout=timeout)
        status: int | None = p.returncode
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        out, _ = p.communicate()
        status = None
    finally:
        with _running_lock:
            _running.discard(p)
    if stopping.is_set():
        raise Stopped()
    return status, out.decode(errors="replace")


def project_files(root: Path, build_root: Path) -> list[str]:
    """The files of the project as the work tree holds them (tracked and new,
    not ignored), less the runner's own directory."""
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=root, capture_output=True)
    files = [f for f in out.stdout.decode().split("\0") if f and (root / f).is_file()] if out.returncode == 0 else []
    if not files:  # not in a repository, or in an ignored folder of one
        files = []
        for d, dirs, names in os.walk(root):
            dirs[:] = [x for x in dirs if not x.startswith((".", "build"))]
            files += [os.path.relpath(os.path.join(d, n), root) for n in names]
    return [f for f in files if not (root / f).resolve().is_relative_to(build_root)]


def _hash(paths: list[Path]) -> str:
    h = hashlib.sha1()
    for p in paths:
        h.update(p.read_bytes() if p.exists() else b"-")
    return h.hexdigest()


class Xvfb:
    """A virtual X server of the worker's own. Each test run that needs one
    gets a fresh one: a window manager leaves its marks on the root window,
    and a server that resets when its last client leaves refuses the next
    one for a moment."""

    def __init__(self):
        self.proc: subprocess.Popen | None = None
        self.display = ""

    def start(self) -> str:
        if self.proc:
            return self.display
        read, write = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp", "-noreset"], pass_fds=(write,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        return self.display

    def stop(self):
        if self.proc:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
            self.proc = None


class Worker:
    """A scratch copy (dir/src), its build directory (dir/build), and the
    baseline it is measured against."""

    def __init__(self, config: Config, directory: Path, log=print):
        self.config = config
        self.dir = directory
        self.src = directory / "src"
        self.build = directory / "build"
        self.log = log
        self.xvfb = Xvfb()
        self.baseline: dict[str, str] = {}  # stage name -> hash of its files without mutants
        self.original: dict[str, bytes] = {}  # files a mutant has been written to
        self.mutated: str | None = None

    def expand(self, args: list[str], targets: list[str] | None = None) -> list[str]:
        out = []
        for a in args:
            if a == "{targets}":
                out += targets or []
            else:
                out.append(a.replace("{src}", str(self.src)).replace("{build}", str(self.build)))
        return out

    # ---- the copy ----

    def sync(self, files: list[str]):
        """Brings the copy to the work tree's content; a file is written only
        when it differs, so that the build stays incremental."""
        for rel in files:
            source = (self.config.root / rel).read_bytes()
            target = self.src / rel
            if target.is_file() and target.read_bytes() == source:
                continue
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(source)

    def write_mutant(self, mutant: Mutant, source: bytes):
        if self.mutated and self.mutated != mutant.file:
            self.restore()
        self.original.setdefault(mutant.file, source)
        self.mutated = mutant.file
        (self.src / mutant.file).write_bytes(mutant.apply(source))

    def restore(self):
        if self.mutated:
            (self.src / self.mutated).write_bytes(self.original[self.mutated])
            self.mutated = None

    # ---- building and testing ----

    def configure(self) -> tuple[bool, str]:
        if (self.build / "CMakeCache.txt").exists() or (self.build / "build.ninja").exists():
            return True, ""
        self.build.mkdir(parents=True, exist_ok=True)
        status, out = run(self.expand(self.config.configure), cwd=self.src)
        return status == 0, out

    def build_targets(self, targets: list[str]) -> tuple[bool, str]:
        status, out = run(self.expand(self.config.build, targets), cwd=self.src)
        return status == 0, out

    def stage_hash(self, stage: Stage) -> str:
        return _hash([Path(p) for p in self.expand(stage.uses)])

    def prepare(self, files: list[str]) -> None:
        """Copies, configures and builds without mutants; notes the baseline."""
        self.sync(files)
        ok, out = self.configure()
        if not ok:
            raise RuntimeError(f"configuring the scratch copy failed:\n{out[-4000:]}")
        targets = sorted({t for s in self.config.stages for t in s.targets})
        ok, out = self.build_targets(targets)
        if not ok:
            raise RuntimeError(f"building the scratch copy failed:\n{out[-4000:]}")
        self.baseline = {s.name: self.stage_hash(s) for s in self.config.stages}

    def env(self, stage: Stage) -> dict:
        env = dict(os.environ)
        if stage.display:
            self.xvfb.stop()
            env["DISPLAY"] = self.xvfb.start()
        return env

    def invoke(self, inv: Invocation, timeout: float | None, record: Path | None = None
               ) -> tuple[int | None, str]:
        cmd = self.expand(inv.stage.command)
        if inv.stage.gtest:
            cmd.append("--gtest_fail_fast" if record is None else "--gtest_brief=1")
            if inv.gtest_filter:
                cmd.append("--gtest_filter=" + inv.gtest_filter)
            if record is not None:
                cmd.append(f"--gtest_output=json:{record}")
        return run(cmd, cwd=self.build, env=self.env(inv.stage), timeout=timeout)

    def measure(self) -> Plan:
        """Runs every stage without mutants and plans the runs for mutants:
        each stage's quick tests in one run, then each slow test in a run of
        its own, so that a mutant meets the quick tests first."""
        plan: list[Invocation] = []
        times: dict[tuple[str, str], float] = {}
        for stage in self.config.stages:
            record = self.dir / f"baseline-{stage.name}.json"
            started = time.monotonic()
            status, out = self.invoke(Invocation(stage, None, 0), None, record if stage.gtest else None)
            seconds = time.monotonic() - started
            if status != 0:
                raise RuntimeError(f"the tests of stage '{stage.name}' fail without mutants:\n{out[-4000:]}")
            if not stage.gtest:
                plan.append(Invocation(stage, None, seconds))
                continue
            tests = []
            for suite in json.loads(record.read_text()).get("testsuites", []):
                for t in suite.get("testsuite", []):
                    tests.append((float(t.get("time", "0s").rstrip("s")), f"{suite['name']}.{t['name']}"))
            times.update({(stage.name, name): t for t, name in tests})
            slow = sorted(t for t in tests if t[0] >= 1.0)
            quick_time = sum(t[0] for t in tests if t[0] < 1.0)
            if slow:
                exclude = ":".join(name for _, name in slow)
                plan.append(Invocation(stage, "-" + exclude, quick_time))
                plan += [Invocation(stage, name, t) for t, name in slow]
            else:
                plan.append(Invocation(stage, None, quick_time))
        return Plan(plan, times)

    def try_mutant(self, mutant: Mutant, source: bytes, plan: Plan, slack: float,
                   killers: Killers | None = None) -> Result:
        """Builds and tests one mutant; the copy keeps it until the next one.
        The tests that killed earlier mutants of the same file run first, then
        the rest of the plan without them; a program is built only when a run
        needs it, and run only when the mutant changed it (`killers` learns
        from each kill)."""
        started = time.monotonic()
        self.write_mutant(mutant, source)
        built: set[str] = set()
        ran = False
        changed: dict[str, bool] = {}
        done: dict[str, set[str]] = {}  # by stage: the tests already run against this mutant
        steps: list[tuple[str, float]] = []

        def result(status: str, killer: str = "", detail: str = "") -> Result:
            return Result(mutant, status, killer, time.monotonic() - started, detail, steps)

        first = killers.first(mutant.file, plan) if killers is not None else []
        for is_first, inv in [(True, i) for i in first] + [(False, i) for i in plan.runs]:
            stage = inv.stage
            if not stage.tests_file(mutant.file):
                continue
            if not is_first and done.get(stage.name):
                inv = _without(inv, done[stage.name])
                if inv is None:
                    continue
            if stage.name not in changed:
                missing = [t for t in stage.targets if t not in built]
                if missing:
                    t0 = time.monotonic()
                    ok, out = self.build_targets(missing)
                    steps.append(("build " + " ".join(missing), time.monotonic() - t0))
                    if not ok:
                        return result(NOT_COMPILING, detail=_first_error(out))
                    built.update(missing)
                changed[stage.name] = self.stage_hash(stage) != self.baseline[stage.name]
            if not changed[stage.name]:
                continue  # the programs are what they were: no test of them can fail
            ran = True
            t0 = time.monotonic()
            verdict = self.judge(inv, slack)
            steps.append((f"{stage.name} {inv.gtest_filter or 'all'}"[:120], time.monotonic() - t0))
            if is_first:
                done.setdefault(stage.name, set()).update(inv.gtest_filter.split(":"))
            if verdict:
                status, killer = verdict
                if status == KILLED and killers is not None and stage.gtest and not killer.endswith("(crashed)"):
                    killers.note(mutant.file, stage.name, killer)
                return result(status, killer)
        return result(SURVIVED if ran else IDENTICAL)

    def judge(self, inv: Invocation, slack: float) -> tuple[str, str] | None:
        """Runs one invocation against the mutant in the copy: None when it
        passes, else (status, the test that failed or ran out of time). In a
        stage that confirms, a test that fails must fail again alone; one that
        passes then failed by chance, and the invocation runs once more."""
        timeout = inv.seconds * 3 + slack
        for _ in range(2):
            status, out = self.invoke(inv, timeout)
            if status is None:
                return TIMED_OUT, inv.gtest_filter or inv.stage.name
            if status == 0:
                return None
            failed = _failed_test(out, inv.stage.name)
            if not (inv.stage.confirm and inv.stage.gtest) or failed.endswith("(crashed)"):
                return KILLED, failed
            again, _ = self.invoke(Invocation(inv.stage, failed, inv.seconds), timeout)
            if again != 0:
                return KILLED, failed
        return None

    def close(self):
        self.restore()
        self.xvfb.stop()


def _without(inv: Invocation, names: set[str]) -> Invocation | None:
    """The run less the named tests (already run); None when nothing is left."""
    f = inv.gtest_filter
    if f and not f.startswith("-"):
        left = [n for n in f.split(":") if n not in names]
        return Invocation(inv.stage, ":".join(left), inv.seconds) if left else None
    excluded = f[1:].split(":") if f else []
    excluded += sorted(n for n in names if n not in excluded)
    return Invocation(inv.stage, "-" + ":".join(excluded), inv.seconds)


def _failed_test(output: str, stage: str) -> str:
    m = re.search(r"^\[  FAILED  \] (\S+)", output, re.M)
    if m:
        return m.group(1)
    m = re.search(r"^\[ RUN      \] (\S+)(?![\s\S]*^\[ RUN)", output, re.M)
    return f"{m.group(1)} (crashed)" if m else f"{stage} (crashed)"


def _first_error(output: str) -> str:
    for line in output.splitlines():
        if "error" in line:
            return line.strip()[:200]
    return ""
