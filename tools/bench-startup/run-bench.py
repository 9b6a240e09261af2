#!/usr/bin/python3
"""Start-up benchmark: the valve program (qlvZENTU, with its splash and the
1000 event-loop rounds) against a minimal widgets program linked with the same
libraries that shows an 800 x 479 window.

Measures, offscreen, in a fresh working directory and settings store:
  - start-up: from process start to the 800 x 479 window being shown (median
    and spread over --runs starts);
  - resident memory (VmRSS) two seconds after the window was shown;
  - idle CPU over --idle seconds after that.
The program talks to the controller simulator on a pseudo-terminal when
valve-controller-sim is built, so its 100 ms controller poll is part of the
idle figure.

  run-bench.py <build folder, Release> [--runs N] [--idle S]
"""
import argparse
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


class workdir:
    """A working directory and settings store like the panel's, with a clean
    last shutdown so no box opens."""

    def __init__(self, root, sim):
        self.tmp = tempfile.mkdtemp(prefix="bench-startup-")
        for d in ("log", "teachIn", "sensor", "scripts", "icon", "languages", "help", "config/varnix", "dev"):
            os.makedirs(os.path.join(self.tmp, d), exist_ok=True)
        subprocess.run([sys.executable, os.path.join(root, "tools", "make-workdir-icons.py"),
                        os.path.join(self.tmp, "icon")], check=True)
        with open(os.path.join(self.tmp, "config", "varnix", "Pendrosix.conf"), "w") as f:
            f.write("[motor%20driver]\ntype=BergerLahr\nmotor%20port=ttyUSB0\n")
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

    def close(self):
        if self.sim:
            self.sim.kill()
            self.sim.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


def start(program, probe_dir, wd):
    out = os.path.join(wd.tmp, "shown.txt")
    if os.path.exists(out):
        os.remove(out)
    wd.reset_log()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", QT_PLUGIN_PATH=probe_dir, BENCH_PROBE_OUT=out,
               XDG_CONFIG_HOME=os.path.join(wd.tmp, "config"), VALVE_DEV_DIR=os.path.join(wd.tmp, "dev"))
    t0 = time.monotonic_ns()
    proc = subprocess.Popen([program, "-plugin", "benchshowprobe"], cwd=wd.tmp, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        if os.path.exists(out):
            with open(out) as f:
                text = f.read().strip()
            if text:
                return proc, (int(text) - t0) / 1e6
        if proc.poll() is not None:
            break
        time.sleep(0.002)
    proc.kill()
    proc.wait()
    raise RuntimeError(f"{program}: no window within 60 s")


def stop(proc):
    proc.send_signal(signal.SIGKILL)
    proc.wait()


def measure(program, probe_dir, wd, runs, idle):
    times = []
    for _ in range(runs):
        proc, ms = start(program, probe_dir, wd)
        times.append(ms)
        stop(proc)
    proc, _ms = start(program, probe_dir, wd)
    time.sleep(2)
    rss = rss_kib(proc.pid)
    c0, t0 = cpu_ticks(proc.pid), time.monotonic()
    time.sleep(idle)
    c1, t1 = cpu_ticks(proc.pid), time.monotonic()
    stop(proc)
    cpu = (c1 - c0) / CLK_TCK / (t1 - t0) * 100.0
    return times, rss, cpu


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("build")
    ap.add_argument("--runs", type=int, default=15)
    ap.add_argument("--idle", type=float, default=30.0)
    args = ap.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    build = os.path.abspath(args.build)
    program = find(build, "qlvZENTU", "x")
    minimal = find(build, "bench-minimal-window", "x")
    probe = find(build, "libbenchshowprobe.so")
    if not (program and minimal and probe):
        sys.exit("build qlvZENTU, bench-minimal-window and benchshowprobe first (VALVE_BENCHMARKS=ON)")
    probe_dir = os.path.dirname(os.path.dirname(probe))
    sim = find(build, "valve-controller-sim", "x")

    results = {}
    for name, exe in (("minimal window", minimal), ("qlvZENTU", program)):
        wd = workdir(root, sim if exe == program else None)
        try:
            results[name] = measure(exe, probe_dir, wd, args.runs, args.idle)
        finally:
            wd.close()

    print(f"start-up over {args.runs} starts, idle CPU over {args.idle:.0f} s, offscreen"
          + (", program against the controller simulator" if sim else ""))
    print("| program | start-up median (ms) | min..max (ms) | RSS after start (MiB) | idle CPU (%) |")
    print("|---|---|---|---|---|")
    for name, (times, rss, cpu) in results.items():
        print(f"| {name} | {statistics.median(times):.1f} | {min(times):.1f}..{max(times):.1f} "
              f"| {rss / 1024:.1f} | {cpu:.2f} |")
    (tm, rm, cm), (tp, rp, cp) = results["minimal window"], results["qlvZENTU"]
    print(f"\nratios program / minimal: start-up {statistics.median(tp) / statistics.median(tm):.1f}x, "
          f"RSS {rp / rm:.1f}x, idle CPU {cp:.2f} % vs {cm:.2f} %")


if __name__ == "__main__":
    main()
