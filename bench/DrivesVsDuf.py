#!/usr/bin/env python3
"""kestrix-drives beside duf -json (and df -B1, findmnt -J) over the same mounts.

Two rounds: this machine's mounts as they are, then the same with 24 extra
tmpfs mounts. The extra mounts live in a private mount namespace (the
script re-runs itself under `unshare -m`, so nothing leaks to the machine)
and below /tmp, where a RAM disk gets a drive letter. Every command runs
the given number of times, interleaved with the others (A B C, then B C A,
...), after warm-up runs; the figure is the median wall time of a run, and
the ratio to duf's median measured in the same round.

Usage (as root for the extra mounts):
  bench/DrivesVsDuf.py [--runs 20] [--warmup 3] [build/kestrix-drives]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

EXTRA_MOUNTS = 24


def measure(commands, runs, warmup):
    """Median seconds per command, the commands' runs interleaved."""
    times = {name: [] for name, _ in commands}
    for _ in range(warmup):
        for _, argv in commands:
            subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    for i in range(runs):
        k = i % len(commands)
        for name, argv in commands[k:] + commands[:k]:  # each command leads in turn
            start = time.perf_counter()
            subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
            times[name].append(time.perf_counter() - start)
    return {name: statistics.median(t) for name, t in times.items()}


def report(title, commands, medians):
    print(f"\n{title}")
    duf = medians["duf -json"]
    for name, _ in commands:
        m = medians[name]
        print(f"  {name:24} median {m * 1000:7.2f} ms   {m / duf:5.2f} x duf -json")


def count_lines(argv):
    out = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False).stdout
    return len(out.splitlines())


def round_(title, drives, runs, warmup):
    commands = [
        ("kestrix-drives", [drives]),
        ("duf -json", ["duf", "-json"]),
        ("df -B1", ["df", "-B1"]),
        ("findmnt -J", ["findmnt", "-J"]),
    ]
    letters = count_lines([drives])
    mounts = count_lines(["findmnt", "-rn"])
    report(f"{title}: {mounts} mounts, {letters} drive letters, median of {runs} interleaved runs",
           commands, measure(commands, runs, warmup))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("drives", nargs="?", default=os.path.join(os.path.dirname(__file__), "..", "build",
                                                               "kestrix-drives"))
    ap.add_argument("--runs", type=int, default=20)
    ap.add_argument("--warmup", type=int, default=3)
    ap.add_argument("--in-namespace", action="store_true", help=argparse.SUPPRESS)
    args = ap.parse_args()
    drives = os.path.abspath(args.drives)
    for tool in ("duf", "df", "findmnt"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is not installed (Debian packages duf, coreutils, util-linux)")
    os.environ.pop("KESTRIX_DRIVES", None)  # discovery, not a fixed map

    if not args.in_namespace:
        print(f"kestrix-drives: {drives}")
        print(f"libraries it loads: {count_lines(['ldd', drives])}")
        round_("This machine's mounts", drives, args.runs, args.warmup)
        if os.geteuid() != 0:
            print("\nThe round with extra tmpfs mounts needs root (mount in a private namespace); skipped.")
            return
        sys.stdout.flush()
        subprocess.run(["unshare", "-m", "--propagation", "private", sys.executable, __file__, "--in-namespace",
                        "--runs", str(args.runs), "--warmup", str(args.warmup), drives], check=True)
        return

    # In the private namespace: 24 small RAM disks, each with a file in it.
    top = tempfile.mkdtemp(prefix="kestrix-bench-", dir="/tmp")
    points = []
    try:
        for i in range(EXTRA_MOUNTS):
            point = os.path.join(top, f"ram{i:02d}")
            os.mkdir(point)
            subprocess.run(["mount", "-t", "tmpfs", "-o", "size=4m", f"bench{i:02d}", point], check=True)
            points.append(point)
            with open(os.path.join(point, "data"), "wb") as f:
                f.write(b"\0" * (4096 * (i + 1)))
        round_(f"With {EXTRA_MOUNTS} extra tmpfs mounts", drives, args.runs, args.warmup)
    finally:
        for point in points:
            subprocess.run(["umount", point], check=False)
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    main()
