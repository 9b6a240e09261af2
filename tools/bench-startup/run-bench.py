#!/usr/bin/python3
"""Start-up benchmark: the valve program (qlvZENTU, with its splash and the
1000 event-loop rounds) against a minimal widgets program linked with the same
libraries that shows an 800 x 479 window.

Measures, offscreen, in a fresh working directory and settings store:
  - start-up: from process start to the 800 x 479 window being shown, and to
    its first frame being painted (median and spread over --runs starts; the
    two programs take turns, so a load that comes and goes meets both alike);
  - resident memory (VmRSS) two seconds after the window was shown;
  - idle CPU over --idle seconds after that;
  - with --callgrind, the instructions each program executes up to its first
    painted frame (valgrind's callgrind; all threads; unaffected by the
    machine's load, so fit to compare two builds on a busy machine).
The working directory is the one ./run.sh lays out (--world demo, the default
when valve-demo-world is built: the demo sensor, teach-in and settings, the
English translation, the icons) or only its empty folders (--world empty).
The program talks to the controller simulator on a pseudo-terminal, so its
100 ms controller poll is part of the idle figure.

  run-bench.py <build folder, Release> [--runs N] [--idle S] [--world demo|empty]
               [--program PATH] [--callgrind]
"""
import argparse
import glob
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")


def find(build, name, kind="f"):
    for root, _dirs, files in os.walk(build):
        if name in files:
            path = os.path.join(root, name)
            if kind != "x" or os.access(path, os.X_OK):
                return path
    return None


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_model():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown CPU"


class workdir:
    """A working directory and settings store like the panel's, with a clean
    last shutdown so no box opens."""

    def __init__(self, root, build, sim, demo):
        self.tmp = tempfile.mkdtemp(prefix="bench-startup-")
        for d in ("log", "teachIn", "sensor", "scripts", "icon", "languages", "help", "config/varnix", "dev"):
            os.makedirs(os.path.join(self.tmp, d), exist_ok=True)
        subprocess.run([sys.executable, os.path.join(root, "tools", "make-workdir-icons.py"),
                        os.path.join(self.tmp, "icon")], check=True)
        with open(os.path.join(self.tmp, "config", "varnix", "Pendrosix.conf"), "w") as f:
            f.write("[motor%20driver]\ntype=BergerLahr\nmotor%20port=ttyUSB0\n")
        if demo:
            # As tools/start-program.sh lays it out for ./run.sh.
            for pattern in (os.path.join(root, "resources", "languages", "*.ts"),
                            os.path.join(build, "languages", "*.qm")):
                for path in glob.glob(pattern):
                    shutil.copy(path, os.path.join(self.tmp, "languages"))
            subprocess.run([demo, self.tmp], check=True, stdout=subprocess.DEVNULL,
                           env=dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.tmp, "config")))
        self.sim = None
        if sim:
            self.sim = subprocess.Popen([sim, "--family", "berger", "--link", os.path.join(self.tmp, "dev", "ttyUSB0")],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            line = self.sim.stdout.readline()
            if not line.startswith("ready"):
                raise RuntimeError("controller simulator did not start")

    def reset_log(self):
        with open(os.path.join(self.tmp, "log", "qVarnixLeakvalve.log"), "w") as f:
            f.write(time.strftime("%d.%m.%Y %H:%M:%S.000") + " ### Shutdown\n")

    def env(self, probe_dir, out, **extra):
        return dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_PLUGIN_PATH=probe_dir, BENCH_PROBE_OUT=out,
                    XDG_CONFIG_HOME=os.path.join(self.tmp, "config"), VALVE_DEV_DIR=os.path.join(self.tmp, "dev"),
                    **extra)

    def close(self):
        if self.sim:
            self.sim.kill()
            self.sim.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


def read_probe(out):
    """(shown ns, painted ns or None) once the probe has written them."""
    try:
        with open(out) as f:
            lines = f.read().split()
    except OSError:
        return None
    if not lines:
        return None
    return int(lines[0]), (int(lines[1]) if len(lines) > 1 else None)


def start(program, probe_dir, wd, need_paint=True):
    out = os.path.join(wd.tmp, "shown.txt")
    if os.path.exists(out):
        os.remove(out)
    wd.reset_log()
    t0 = time.monotonic_ns()
    proc = subprocess.Popen([program, "-plugin", "benchshowprobe"], cwd=wd.tmp, env=wd.env(probe_dir, out),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        times = read_probe(out)
        if times and (times[1] or not need_paint):
            shown, painted = times
            return proc, (shown - t0) / 1e6, (painted - t0) / 1e6 if painted else None
        if proc.poll() is not None:
            break
        time.sleep(0.002)
    proc.kill()
    proc.wait()
    raise RuntimeError(f"{program}: no painted window within 60 s")


def stop(proc):
    proc.send_signal(signal.SIGKILL)
    proc.wait()


def resident_and_idle(program, probe_dir, wd, idle):
    proc, _shown, _painted = start(program, probe_dir, wd)
    time.sleep(2)
    rss = rss_kib(proc.pid)
    c0, t0 = cpu_ticks(proc.pid), time.monotonic()
    time.sleep(idle)
    c1, t1 = cpu_ticks(proc.pid), time.monotonic()
    stop(proc)
    return rss, (c1 - c0) / CLK_TCK / (t1 - t0) * 100.0


def instructions(program, probe_dir, wd):
    """Instructions executed up to the first painted frame, all threads."""
    out = os.path.join(wd.tmp, "shown.txt")
    wd.reset_log()
    cg = os.path.join(wd.tmp, "callgrind.out")
    run = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={cg}",
                          program, "-plugin", "benchshowprobe"], cwd=wd.tmp,
                         env=wd.env(probe_dir, out, BENCH_PROBE_EXIT="painted"),
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=600)
    for line in run.stderr.splitlines():
        if "Collected :" in line:
            return int(line.split(":")[-1].strip())
    raise RuntimeError(f"{program}: callgrind gave no count:\n{run.stderr[-2000:]}")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("build")
    ap.add_argument("--runs", type=int, default=15)
    ap.add_argument("--idle", type=float, default=30.0)
    ap.add_argument("--world", choices=("demo", "empty"), default="demo")
    ap.add_argument("--program", help="another build of qlvZENTU to measure (default: the build folder's)")
    ap.add_argument("--callgrind", action="store_true", help="also count instructions to the first frame")
    args = ap.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    build = os.path.abspath(args.build)
    program = os.path.abspath(args.program) if args.program else find(build, "qlvZENTU", "x")
    minimal = find(build, "bench-minimal-window", "x")
    probe = find(build, "libbenchshowprobe.so")
    if not (program and minimal and probe):
        sys.exit("build qlvZENTU, bench-minimal-window and benchshowprobe first (VALVE_BENCHMARKS=ON)")
    if args.callgrind and not shutil.which("valgrind"):
        sys.exit("--callgrind needs valgrind: tools/install-deps.sh --profile")
    probe_dir = os.path.dirname(os.path.dirname(probe))
    sim = find(build, "valve-controller-sim", "x")
    demo = find(build, "valve-demo-world", "x") if args.world == "demo" else None
    if args.world == "demo" and not demo:
        sys.exit("--world demo needs valve-demo-world in the build folder (or use --world empty)")

    load_before = os.getloadavg()
    wds = {"minimal window": workdir(root, build, None, None), "qlvZENTU": workdir(root, build, sim, demo)}
    exes = {"minimal window": minimal, "qlvZENTU": program}
    shown = {name: [] for name in exes}
    painted = {name: [] for name in exes}
    results = {}
    try:
        for i in range(args.runs):
            # Turns alternate, so neither program always starts right after the other.
            order = list(exes) if i % 2 == 0 else list(reversed(list(exes)))
            for name in order:
                proc, ms_shown, ms_painted = start(exes[name], probe_dir, wds[name])
                stop(proc)
                shown[name].append(ms_shown)
                painted[name].append(ms_painted)
        for name in exes:
            results[name] = resident_and_idle(exes[name], probe_dir, wds[name], args.idle)
        counts = {name: instructions(exes[name], probe_dir, wds[name]) for name in exes} if args.callgrind else {}
    finally:
        for wd in wds.values():
            wd.close()
    load_after = os.getloadavg()

    print(f"{os.cpu_count()} cores ({cpu_model()}), load average {load_before[0]:.1f} before and "
          f"{load_after[0]:.1f} after; {args.runs} starts each, taking turns; idle CPU over {args.idle:.0f} s; "
          f"offscreen; working directory: {args.world}"
          + ("; program against the controller simulator" if sim else ""))
    print("| program | shown, median (ms) | min..max (ms) | first frame, median (ms) | min..max (ms) "
          "| resident after start (MiB) | idle CPU (%) |" + (" instructions to first frame |" if counts else ""))
    print("|---|---|---|---|---|---|---|" + ("---|" if counts else ""))
    for name in exes:
        s, p = shown[name], painted[name]
        rss, cpu = results[name]
        print(f"| {name} | {statistics.median(s):.1f} | {min(s):.1f}..{max(s):.1f} | {statistics.median(p):.1f} "
              f"| {min(p):.1f}..{max(p):.1f} | {rss / 1024:.1f} | {cpu:.2f} |"
              + (f" {counts[name] / 1e6:.0f} million |" if counts else ""))
    m, q = "minimal window", "qlvZENTU"
    ratios = [f"shown {statistics.median(shown[q]) / statistics.median(shown[m]):.1f}x",
              f"first frame {statistics.median(painted[q]) / statistics.median(painted[m]):.1f}x",
              f"resident {results[q][0] / results[m][0]:.1f}x"]
    if counts:
        ratios.append(f"instructions {counts[q] / counts[m]:.1f}x")
    print("\nratios program / minimal window: " + ", ".join(ratios))


if __name__ == "__main__":
    main()
