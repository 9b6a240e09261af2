#!/usr/bin/python3
"""Screenshot of the Manual tab regulating in the demo world of ./run.sh.

    tools/screenshot-demo.py <build folder> <output .png> [set value]

The build folder is one built with the tests (VALVE_TESTS=ON), for it holds
the program, the controller simulator, valve-demo-world and the test driver
plugin. The program runs through tools/start-program.sh in a fresh working
directory on a virtual X screen (Xvfb) of the panel's size; the driver plugin
types the set value on the Manual tab and presses Go, the way an operator
would; once the valve has settled the screen is grabbed and stored as a
palette PNG.
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

from PIL import ImageGrab

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Driver:
    """The test driver plugin inside the program, one line each way."""

    def __init__(self, conn):
        self.conn = conn
        self.buffer = b""

    def request(self, line, timeout=30.0):
        self.conn.sendall(line.encode() + b"\n")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while b"\n" in self.buffer:
                reply, self.buffer = self.buffer.split(b"\n", 1)
                reply = reply.decode().strip()
                if not reply.startswith("box "):
                    return reply
            self.conn.settimeout(max(0.1, deadline - time.monotonic()))
            try:
                chunk = self.conn.recv(4096)
            except socket.timeout:
                break
            if not chunk:
                break
            self.buffer += chunk
        raise RuntimeError("no answer to " + line)


def free_display():
    for n in range(90, 200):
        if not os.path.exists("/tmp/.X%d-lock" % n):
            return n
    raise RuntimeError("no free X display number")


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    build = os.path.abspath(sys.argv[1])
    output = os.path.abspath(sys.argv[2])
    set_value = sys.argv[3] if len(sys.argv) == 4 else "1.0E-06"
    plugins = os.path.join(build, "tests", "support", "plugins")
    if not os.path.isdir(os.path.join(plugins, "generic")):
        print("No driver plugin in %s: build with VALVE_TESTS=ON." % plugins, file=sys.stderr)
        return 1
    if subprocess.call([os.path.join(ROOT, "tools", "install-deps.sh"), "--screenshots"]) != 0:
        return 1

    work = tempfile.mkdtemp(prefix="valve-screenshot-")
    display = free_display()
    xvfb = subprocess.Popen(["Xvfb", ":%d" % display, "-screen", "0", "800x480x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(1)
    server.settimeout(180)
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    env.pop("WAYLAND_DISPLAY", None)
    env.update({
        "DISPLAY": ":%d" % display,
        "QT_PLUGIN_PATH": plugins,
        "QT_QPA_GENERIC_PLUGINS": "programdriver:%d" % server.getsockname()[1],
        "ASAN_OPTIONS": "detect_leaks=0",
    })
    program = None
    try:
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % display):
                break
            time.sleep(0.1)
        program = subprocess.Popen([os.path.join(ROOT, "tools", "start-program.sh"), build, work], env=env)
        conn, _ = server.accept()
        driver = Driver(conn)
        deadline = time.monotonic() + 180
        while driver.request("ready") != "ok 1":
            if time.monotonic() > deadline:
                raise RuntimeError("the main window did not come up")
            time.sleep(0.2)
        time.sleep(2)  # the first samples of the card reach the status strip
        for line in ("scope widgetManual", "tab 1", "text lineEditSetDataValue " + set_value,
                     "click pushBtnSetLeakrateGo"):
            reply = driver.request(line)
            if not reply.startswith("ok"):
                raise RuntimeError("%s: %s" % (line, reply))
        time.sleep(12)  # reached, and a few samples held
        image = ImageGrab.grab(bbox=(0, 0, 800, 479), xdisplay=":%d" % display)
        image.convert("RGB").quantize(colors=128).save(output, optimize=True)
        driver.request("quit")
        program.wait(timeout=60)
        print("%s: %d bytes" % (output, os.path.getsize(output)))
        return 0
    finally:
        if program and program.poll() is None:
            program.terminate()
            try:
                program.wait(timeout=30)
            except subprocess.TimeoutExpired:
                program.kill()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
