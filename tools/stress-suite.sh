#!/usr/bin/env bash
# Runs the whole CTest suite of a build folder again and again under load, to
# find tests that fail by chance on a busy machine. Builds nothing itself.
#   tools/stress-suite.sh [-n RUNS] [-m load|starved|both] [-k] [-o LOG DIR] <build folder> [-- <ctest args>]
#   -n RUNS  runs per mode (default 10)
#   -m MODE  load: ctest -j (2 x cores); starved: taskset -c 0,1 ctest -j 8;
#            both: each round a load run, then a starved run (default load)
#   -k       keep going after a failing run (default: stop at the first)
#   -o DIR   where each run's CTest log and JUnit file go (default: a new
#            folder below /tmp, named at the end)
# Prints the full output of each failing test, one line per run, and a final
# summary line; exits 1 when any run failed. Arguments after "--" go to every
# ctest call (for example -R tst_remote). One stress run per build folder at a
# time: the tests keep their settings stores in it.
set -uo pipefail

usage() { sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }

runs=10
mode=load
keepGoing=0
logDir=
while getopts "n:m:ko:h" opt; do
    case $opt in
    n) runs=$OPTARG ;;
    m) mode=$OPTARG ;;
    k) keepGoing=1 ;;
    o) logDir=$OPTARG ;;
    *) usage ;;
    esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || usage
build=$1
shift
[ "${1:-}" = "--" ] && shift
ctestArgs=("$@")

[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "stress-suite: -n wants a positive count" >&2; exit 2; }
case $mode in
load) modes=(load) ;;
starved) modes=(starved) ;;
both) modes=(load starved) ;;
*) echo "stress-suite: unknown mode $mode" >&2; exit 2 ;;
esac
[ -f "$build/CTestTestfile.cmake" ] || { echo "stress-suite: $build is not a configured build folder with tests" >&2; exit 2; }
build=$(cd "$build" && pwd)
if [ "${modes[*]}" != load ] && ! command -v taskset >/dev/null; then
    echo "stress-suite: the starved mode needs taskset (util-linux)" >&2
    exit 2
fi

if [ -z "$logDir" ]; then
    logDir=$(mktemp -d "${TMPDIR:-/tmp}/stress-suite.XXXXXX")
else
    mkdir -p "$logDir" || exit 2
fi
logDir=$(cd "$logDir" && pwd)

exec 9>"$build/.stress-suite.lock"
flock -n 9 || { echo "stress-suite: another stress run uses $build" >&2; exit 2; }

cores=$(nproc)

# Prints the name, CTest's reason (Failed, Timeout, SegFault...) and the whole
# output of every test the JUnit file names as failed; the names alone go to
# the file given last.
report_failures() {
    /usr/bin/python3 - "$1" "$2" "$3" <<'EOF'
import re
import sys
import xml.etree.ElementTree as ET

junit, ctest_log, names_file = sys.argv[1:4]
reasons = {}
try:
    with open(ctest_log, errors="replace") as f:
        for line in f:
            m = re.match(r"\s+\d+ - (\S+) \((.*)\)$", line.rstrip("\n"))
            if m:
                reasons[m.group(1)] = m.group(2)
except OSError:
    pass
names = []
try:
    cases = list(ET.parse(junit).getroot().iter("testcase"))
except (OSError, ET.ParseError) as e:
    print(f"  (no readable JUnit file: {e})")
    cases = []
for case in cases:
    if case.find("failure") is None and case.get("status") != "fail":
        continue
    name = case.get("name")
    names.append(name)
    print(f"===== FAILED {name} ({reasons.get(name, 'Failed')}, {float(case.get('time', 0)):.1f} s) =====")
    print((case.findtext("system-out") or "").rstrip("\n"))
    print(f"===== end of {name} =====")
with open(names_file, "w") as f:
    f.write("".join(n + "\n" for n in names))
EOF
}

declare -A failCount=()
nRuns=0
nFailedRuns=0
stop=0
for ((round = 1; round <= runs && !stop; ++round)); do
    for m in "${modes[@]}"; do
        nRuns=$((nRuns + 1))
        tag=$(printf 'run%03d-%s' "$nRuns" "$m")
        if [ "$m" = load ]; then
            cmd=(ctest -j $((2 * cores)))
        else
            cmd=(taskset -c 0,1 ctest -j 8)
        fi
        # Failed output in full: a sanitizer report can be long.
        cmd+=(--test-dir "$build" --output-junit "$logDir/$tag.xml" --test-output-size-failed 4194304
            "${ctestArgs[@]}")
        start=$SECONDS
        "${cmd[@]}" >"$logDir/$tag.log" 2>&1
        rc=$?
        secs=$((SECONDS - start))
        summary=$(grep -E 'tests passed, [0-9]+ tests failed' "$logDir/$tag.log" | tail -n 1)
        if [ $rc -eq 0 ]; then
            echo "$tag: passed in ${secs} s (${summary:-no summary})"
            continue
        fi
        nFailedRuns=$((nFailedRuns + 1))
        echo "$tag: FAILED in ${secs} s (${summary:-ctest exit $rc}), log $logDir/$tag.log"
        report_failures "$logDir/$tag.xml" "$logDir/$tag.log" "$logDir/$tag.failed"
        if [ ! -s "$logDir/$tag.failed" ]; then
            # No test named: ctest itself failed; its own words say why.
            tail -n 20 "$logDir/$tag.log"
            failCount["(ctest exit $rc)"]=$((${failCount["(ctest exit $rc)"]:-0} + 1))
        fi
        while read -r name; do
            failCount[$name]=$((${failCount[$name]:-0} + 1))
        done <"$logDir/$tag.failed"
        if [ $keepGoing -eq 0 ]; then
            stop=1
            break
        fi
    done
done

failed=
for name in "${!failCount[@]}"; do
    failed+=" $name x${failCount[$name]}"
done
if [ $nFailedRuns -eq 0 ]; then
    echo "stress-suite: $nRuns runs (${modes[*]}) in $build: all passed; logs in $logDir"
    exit 0
fi
echo "stress-suite: $nRuns runs (${modes[*]}) in $build: $nFailedRuns failed;$failed; logs in $logDir"
exit 1
