#!/usr/bin/env python3
"""Runs one lorvex job and tells what became of it, from the run's /J result.

    python3 run_lorvex.py [--lorvex PATH] LORVEX-OPTIONS...
    python3 run_lorvex.py /CD /L /FKASJERZY.TXT

The job runs in the current directory (where error.orv and the /F file are). The exit code is
lorvex's own.
"""
import json
import os
import subprocess
import sys

# lorvex upper-cases its command line: an upper-case name is found exactly as written.
RESULT = "RESULT.JSON"


def run_lorvex(lorvex, options):
    """Runs lorvex with /J and returns its result as a dict."""
    if os.path.exists(RESULT):
        os.remove(RESULT)  # never read an earlier run's result
    subprocess.run([lorvex, *options, "/J" + RESULT], stdout=subprocess.DEVNULL, check=False)
    with open(RESULT, encoding="utf-8") as result:
        return json.load(result)


def main(argv):
    lorvex = "lorvex"
    if len(argv) > 1 and argv[0] == "--lorvex":
        lorvex, argv = argv[1], argv[2:]
    result = run_lorvex(lorvex, argv)
    print(f"outcome: {result['outcome']} (exit code {result['exit_code']})")
    if result["reason"]:
        print(f"reason: {result['reason']}")
    for status in result["statuses"]:
        where = f"line {status['line']}" if status["line"] else "-"
        print(f"{where}: {status['message']}")
    return result["exit_code"]


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
