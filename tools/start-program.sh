#!/usr/bin/env bash
# Lays out a working directory and starts the program in it.
#   tools/start-program.sh <build folder> <working directory> [<serial port>]
# Without a serial port the controller simulator (valve-controller-sim) is
# started on a pseudo-terminal, the program's motor port points at it through
# VALVE_DEV_DIR, and the program uses a settings store of its own below the
# working directory. With a port (for example ttyUSB0) the program talks to
# the controller there and uses your own settings store, whose "motor port"
# is set to that port.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 2 ] || { sed -n '2,9p' "$0"; exit 2; }
build=$(cd "$1" && pwd)
work=$2
port=${3:-}

# VALVE_PROGRAM: another program built on the main window (the screenshot tool).
program="${VALVE_PROGRAM:-$build/qlvZENTU}"
[ -x "$program" ] || { echo "No program at $program; build it first." >&2; exit 1; }

python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3   # the Debian one, with python3-pil

# --- the working directory -------------------------------------------------
mkdir -p "$work"
work=$(cd "$work" && pwd)
for d in log teachIn sensor scripts icon languages help; do
  mkdir -p "$work/$d"
done
"$python" "$root/tools/make-workdir-icons.py" "$work/icon"
cp -f "$root"/resources/languages/*.ts "$work/languages/" 2>/dev/null || true
cp -f "$build"/languages/*.qm "$work/languages/" 2>/dev/null || true

# --- a display --------------------------------------------------------------
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
There is no display to show the program on. Either
  - run it inside an X session (DISPLAY set), or
  - give it a virtual one:   xvfb-run -s "-screen 0 800x480x24" ./run.sh
    (Debian package xvfb), or
  - run it without a screen: QT_QPA_PLATFORM=offscreen ./run.sh
MSG
  exit 1
fi

# Qt wants a private runtime folder; a root shell without a login session has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi

# --- the controller ------------------------------------------------------------
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Sets "motor driver"/<key> in a native (INI) settings file, keeping the rest.
set_motor_key() {
  "$python" - "$1" "$2" "$3" <<'PY'
import configparser, os, sys
path, key, value = sys.argv[1:4]
cfg = configparser.RawConfigParser(strict=False, interpolation=None, delimiters=("=",))
cfg.optionxform = str
if os.path.exists(path):
    cfg.read(path, encoding="utf-8")
section = "motor%20driver"
if not cfg.has_section(section):
    cfg.add_section(section)
cfg.set(section, key.replace(" ", "%20"), value)
os.makedirs(os.path.dirname(path), exist_ok=True)
with open(path, "w", encoding="utf-8") as f:
    cfg.write(f, space_around_delimiters=False)
PY
}

# The stored "motor driver"/"position" (ppm of travel) in the simulator's
# steps (40000 full travel); 0 without one.
get_position_steps() {
  "$python" - "$1" <<'PY'
import configparser, os, sys
cfg = configparser.RawConfigParser(strict=False, interpolation=None, delimiters=("=",))
cfg.optionxform = str
ppm = 0
if os.path.exists(sys.argv[1]):
    cfg.read(sys.argv[1], encoding="utf-8")
    try:
        ppm = int(float(cfg.get("motor%20driver", "position", fallback="0")))
    except ValueError:
        ppm = 0
print(max(0, min(40000, round(ppm * 40000 / 1000000))))
PY
}

# Without a port the demo world: the simulator also plays a leak detector
# behind the valve and writes its analog card frame (VALVE_ANALOG_FRAME_FILE),
# and valve-demo-world lays out the detector as a sensor, a teach-in of the
# plant, the settings using them and a log of a clean shutdown, each only
# where it is absent. With a port none of this is laid out.
if [ -z "$port" ]; then
  sim=$(find "$build" -name valve-controller-sim -type f -perm -u+x 2>/dev/null | head -n 1)
  [ -n "$sim" ] || { echo "The controller simulator (valve-controller-sim) is not built in $build." >&2; exit 1; }
  export XDG_CONFIG_HOME="$work/config"
  store="$XDG_CONFIG_HOME/varnix/Pendrosix.conf"
  if [ ! -f "$store" ]; then
    set_motor_key "$store" "type" "BergerLahr"
    set_motor_key "$store" "motor port" "ttyUSB0"
  fi
  demo=$(find "$build" -name valve-demo-world -type f -perm -u+x 2>/dev/null | head -n 1)
  if [ -n "$demo" ]; then
    "$demo" "$work" >"$work/log/demo-world.out" 2>&1 || { cat "$work/log/demo-world.out" >&2; exit 1; }
  else
    echo "The demo world tool (valve-demo-world) is not built in $build: no demo sensor and teach-in." >&2
  fi
  # The simulated valve starts where the program last left it, so the
  # program does not ask for a calibration.
  start_steps=$(get_position_steps "$store")
  mkdir -p "$work/dev"
  rm -f "$work/dev/ttyUSB0"
  frame="$work/dev/analog-frame"
  simlog="$work/log/controller-sim.out"
  # The program samples the card once a second and corrects from a sample
  # taken while the valve is still on its way; a valve that crosses its travel
  # in a fifth of a second is seldom caught so.
  "$sim" --family berger --link "$work/dev/ttyUSB0" --position "$start_steps" --speed 200000 \
    --analog-frame "$frame" >"$simlog" 2>&1 &
  sim_pid=$!
  for _ in $(seq 1 100); do
    grep -q '^ready' "$simlog" 2>/dev/null && break
    kill -0 "$sim_pid" 2>/dev/null || { cat "$simlog" >&2; echo "The controller simulator stopped." >&2; exit 1; }
    sleep 0.1
  done
  grep -q '^ready' "$simlog" || { echo "The controller simulator did not get ready." >&2; exit 1; }
  export VALVE_DEV_DIR="$work/dev"
  export VALVE_ANALOG_FRAME_FILE="$frame"
  echo "Controller simulator on $work/dev/ttyUSB0, analog card frame $frame; settings store $store"
else
  store="${XDG_CONFIG_HOME:-$HOME/.config}/varnix/Pendrosix.conf"
  set_motor_key "$store" "motor port" "$port"
  echo "Motor port $port (stored in $store)"
fi

echo "Working directory $work"
cd "$work"
# The program runs as a child the script waits for, so that a TERM or INT sent
# to the script (timeout, a service manager, Ctrl+C) reaches the program too;
# bash would otherwise hold the signal until the program had ended by itself.
set +e
"$program" &
program_pid=$!
trap 'kill -TERM "$program_pid" 2>/dev/null' INT TERM
wait "$program_pid"
status=$?
# A trapped signal ends the wait early; wait again for the program's own end.
while kill -0 "$program_pid" 2>/dev/null; do
  wait "$program_pid"
  status=$?
done
set -e
exit $status
