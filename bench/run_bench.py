#!/usr/bin/env python3
"""Job timings of lorvex against lorvex-sim at line speed, side by side with the line's floor.

Builds Release binaries (unless --no-build), runs every job at 9600 and 19200 baud against a
fresh simulator with --line-time and a wire transcript, and writes bench/RESULTS.md and
bench/results.png. Every run is bounded in time; simulators are always stopped.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field

sys.dont_write_bytecode = True  # nothing left behind in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import inputs  # noqa: E402
import report  # noqa: E402
from processes import BenchError, Ser2net, Simulator, run_measured  # noqa: E402
from wire_log import floor_of, read_transcript  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DUMP_GOODS = 500
LOAD_GOODS = 1000
Z_GROUP_PAUSES_MS = 10 * 100  # footer, header, departments, flags, halo, discounts, direct
                              # codes, VAT, UNI, NIP: a 100 ms pause after each group


@dataclass
class Job:
    name: str
    args: list
    files: dict = field(default_factory=dict)  # name -> bytes, written before the run
    sim_args: list = field(default_factory=list)
    state: bool = False          # start from the prepared register with DUMP_GOODS goods
    extra_pause_ms: int = 0
    expect_lines: tuple = None   # (file, prefix, count) the run must leave behind
    expect_goods: int = None     # goods the register must hold afterwards
    estimate_s: int = 30         # rough duration at 9600 baud, for the time limit


JOBS = [
    Job("G dump", ["/CG", "/FDZIALY.TXT"], expect_lines=("DZIALY.TXT", "DEP", 42),
        estimate_s=20),
    Job("G load", ["/CG", "/L", "/FDZIALY.TXT"], files={"DZIALY.TXT": inputs.department_lines()},
        estimate_s=15),
    Job("H dump /A, 500 goods", ["/CH", "/A", "/FTOWARY.TXT"], state=True,
        expect_lines=("TOWARY.TXT", "PLU", DUMP_GOODS), estimate_s=60),
    Job("H load, table of 1000", ["/CH", "/L", "/FTOWARY.DBF"],
        files={"TOWARY.DBF": inputs.product_table(LOAD_GOODS)}, sim_args=["--empty"],
        expect_goods=LOAD_GOODS, estimate_s=120),
    Job("H load, text of 1000", ["/CH", "/L", "/FTOWARY.TXT"],
        files={"TOWARY.TXT": inputs.goods_lines(LOAD_GOODS)}, sim_args=["--empty"],
        expect_goods=LOAD_GOODS, estimate_s=120),
    Job("L report", ["/CL", "/FRAPORT.TXT"], estimate_s=25),
    Job("Z dump", ["/CZ", "/FWSZYSTKO.TXT"], extra_pause_ms=Z_GROUP_PAUSES_MS, estimate_s=60),
]


def build(build_dir):
    subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build_dir, "--target", "lorvex", "lorvex-sim", "-j2"],
                   check=True, stdout=subprocess.DEVNULL)


def count_goods(state_path):
    with open(state_path, encoding="latin-1") as handle:
        return sum(1 for line in handle if line.startswith("plu "))


def count_lines(path, prefix):
    with open(path, "rb") as handle:
        return sum(1 for line in handle if line.startswith(prefix.encode()))


def prepare_state(binaries, workdir, niceness):
    """A register state file holding DUMP_GOODS goods, loaded through lorvex itself."""
    state = os.path.join(workdir, "state.txt")
    with open(os.path.join(workdir, "PREP.DBF"), "wb") as handle:
        handle.write(inputs.product_table(DUMP_GOODS))
    with Simulator(binaries["sim"], workdir, ["--empty", "--state", state], niceness=niceness):
        measured = run_measured([binaries["lorvex"], "/P1", "/CH", "/L", "/FPREP.DBF"], workdir,
                                120, niceness)
    if measured.exit_code != 0 or count_goods(state) != DUMP_GOODS:
        raise BenchError("preparing %d goods failed" % DUMP_GOODS)
    return state


# How lorvex reaches the simulator: its pty, or ser2net on that pty as raw TCP or with RFC 2217.
ROUTES = {"pty": "", "tcp": " over raw TCP", "rfc2217": " over RFC 2217"}


def run_job(job, baud, binaries, prepared_state, scratch, time_limit_s, niceness, route="pty"):
    workdir = tempfile.mkdtemp(prefix="run-", dir=scratch)
    for name, content in job.files.items():
        with open(os.path.join(workdir, name), "wb") as handle:
            handle.write(content)
    state = os.path.join(workdir, "state.txt")
    sim_args = ["--line-time", "--baud", str(baud), "--log", "wire.log", "--state", state]
    sim_args += job.sim_args
    if job.state:
        shutil.copy(prepared_state, state)
    argv = [binaries["lorvex"], "/P1"] + job.args + (["/B"] if baud == 19200 else [])
    simulator = Simulator(binaries["sim"], workdir, sim_args, niceness=niceness)
    with simulator:
        if route == "pty":
            measured = run_measured(argv, workdir, time_limit_s, niceness)
        else:
            with Ser2net(workdir, simulator.device, niceness) as ser2net:
                argv[1] = ("/PTCP:127.0.0.1:%d" % ser2net.raw if route == "tcp"
                           else "/PRFC2217:127.0.0.1:%d" % ser2net.rfc2217)
                measured = run_measured(argv, workdir, time_limit_s, niceness)
    wire = read_transcript(os.path.join(workdir, "wire.log"))
    floor = floor_of(wire, baud, job.extra_pause_ms)

    notes = []
    if simulator.complaints:
        notes.append("lorvex-sim: " + simulator.complaints[:200])
    if measured.exit_code != 0:
        notes.append("exit code %d" % measured.exit_code)
    if b"runtime error" in measured.stdout or b"Sanitizer" in measured.stdout:
        notes.append("sanitizer report in lorvex's output")
    error_log = os.path.join(workdir, "error.orv")
    if os.path.exists(error_log) and os.path.getsize(error_log) > 0:
        with open(error_log, "rb") as handle:
            notes.append("error.orv: %r" % handle.read(120))
    if job.expect_lines:
        name, prefix, count = job.expect_lines
        got = count_lines(os.path.join(workdir, name), prefix)
        if got != count:
            notes.append("%d %s lines, not %d" % (got, prefix, count))
    if job.expect_goods is not None:
        got = count_goods(state)
        if got != job.expect_goods:
            notes.append("register holds %d goods, not %d" % (got, job.expect_goods))
    sim_cpu = 0.0
    if simulator.rusage is not None:
        sim_cpu = simulator.rusage.ru_utime + simulator.rusage.ru_stime
    floor_s = floor.total_ms / 1000.0
    return {
        "job": job.name + ROUTES[route], "baud": baud, "pc_bytes": floor.pc_bytes, "reg_bytes": floor.reg_bytes,
        "pause_ms": floor.pause_ms, "floor_s": floor_s, "wall_s": measured.wall_s,
        "ratio": measured.wall_s / floor_s if floor_s > 0 else float("inf"),
        "cpu_s": measured.cpu_s, "rss_kib": measured.max_rss_kib,
        # The simulator runs a little longer than lorvex; its share is against lorvex's wall.
        "sim_cpu_pct": 100.0 * sim_cpu / measured.wall_s,
        "ok": not notes, "note": "; ".join(notes), "workdir": workdir,
    }


def commit_of():
    try:
        head = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"],
                              capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "unknown"
    return head


def load_average():
    return "%.2f" % os.getloadavg()[0]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--no-build", action="store_true", help="use the binaries as they are")
    parser.add_argument("--jobs", default="", help="only the jobs whose names contain this")
    parser.add_argument("--baud", type=int, choices=(9600, 19200), action="append")
    parser.add_argument("--out", default=os.path.join(ROOT, "bench"),
                        help="where RESULTS.md and results.png go")
    parser.add_argument("--route", choices=sorted(ROUTES), action="append",
                        help="how lorvex reaches the simulator (default pty; ser2net for the "
                             "others)")
    parser.add_argument("--keep", action="store_true", help="keep the work directories")
    parser.add_argument("--nice", type=int, default=-10 if os.geteuid() == 0 else 0,
                        help="scheduling niceness of lorvex and lorvex-sim (default -10 as root, "
                             "so that other work on a shared machine does not delay their "
                             "wake-ups)")
    args = parser.parse_args()

    args.build_dir = os.path.abspath(args.build_dir)
    if not args.no_build:
        build(args.build_dir)
    binaries = {"lorvex": os.path.join(args.build_dir, "lorvex"),
                "sim": os.path.join(args.build_dir, "lorvex-sim")}
    for path in binaries.values():
        if not os.access(path, os.X_OK):
            sys.exit("missing %s (build it or drop --no-build)" % path)

    jobs = [job for job in JOBS if args.jobs.lower() in job.name.lower()]
    bauds = args.baud or [9600, 19200]
    scratch = tempfile.mkdtemp(prefix="lorvex-bench-")
    rows = []
    load_before = load_average()
    try:
        prepared = None
        if any(job.state for job in jobs):
            prepared = prepare_state(binaries, tempfile.mkdtemp(prefix="prep-", dir=scratch),
                                     args.nice)
        for baud, route, job in [(b, r, j) for b in bauds for r in args.route or ["pty"]
                                 for j in jobs]:
            limit = 3 * job.estimate_s * 9600 // baud + 30
            print("%-38s %5d baud ..." % (job.name + ROUTES[route], baud), end=" ",
                  flush=True)
            row = run_job(job, baud, binaries, prepared, scratch, limit, args.nice, route)
            rows.append(row)
            print("wall %.3f s, floor %.3f s, ratio %.4f, cpu %.3f s, rss %d KiB %s"
                  % (row["wall_s"], row["floor_s"], row["ratio"], row["cpu_s"],
                     row["rss_kib"], "" if row["ok"] else "FAILED: " + row["note"]),
                  flush=True)
    finally:
        if not args.keep:
            shutil.rmtree(scratch, ignore_errors=True)
        else:
            print("work directories kept in", scratch)
    if not rows:
        sys.exit("no job matched")

    os.makedirs(args.out, exist_ok=True)
    plot_dir = tempfile.mkdtemp(prefix="lorvex-plot-")
    try:
        if not report.plot(rows, os.path.join(args.out, "results.png"), plot_dir):
            print("gnuplot not found: no plot (apt-get install gnuplot-nox)")
    finally:
        shutil.rmtree(plot_dir, ignore_errors=True)
    text = report.results_markdown(rows, report.machine(), commit_of(), load_before,
                                   load_average(), args.nice)
    with open(os.path.join(args.out, "RESULTS.md"), "w", encoding="utf-8") as handle:
        handle.write(text)
    print("wrote", os.path.join(args.out, "RESULTS.md"))
    return 0 if all(row["ok"] for row in rows) else 1


if __name__ == "__main__":
    sys.exit(main())
