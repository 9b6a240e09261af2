#!/usr/bin/python3
"""Fails when a CTest test of the build has no TIMEOUT of its own: a hang
must fail in minutes, not after CTest's default."""
import json
import subprocess
import sys

ctest, build_dir = sys.argv[1], sys.argv[2]
out = subprocess.run([ctest, "--show-only=json-v1"], cwd=build_dir, check=True,
                     capture_output=True, text=True).stdout
missing = []
for test in json.loads(out)["tests"]:
    props = {p["name"]: p["value"] for p in test.get("properties", [])}
    if not props.get("TIMEOUT"):
        missing.append(test["name"])
if missing:
    print("tests without TIMEOUT: " + ", ".join(missing))
    sys.exit(1)
print("every test has a TIMEOUT")
