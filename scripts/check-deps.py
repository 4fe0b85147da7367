#!/usr/bin/env python3
"""Checks the library graph of a configured build against the layering of
docs/ARCHITECTURE.md, from CMake's own graph (cmake --graphviz).

Usage: scripts/check-deps.py [build-dir]   (default: build)
Prints our targets and what each links of ours, then every rule broken;
exits 1 when any is. Also scans src/ for Linux headers outside the platform
layer."""
import os, re, subprocess, sys, tempfile

# Which of our libraries each library may link (directly or not).
ALLOWED = {
    "kestrix_platform": set(),
    "kestrix_drivemap": set(),
    "kestrix_platform_linux": {"kestrix_platform", "kestrix_drivemap"},
    "kestrix_toolkit": set(),
    "kestrix_widgets": {"kestrix_toolkit"},
    "kestrix_drives": {"kestrix_platform"},
    "kestrix_settings": {"kestrix_platform", "kestrix_toolkit", "kestrix_widgets"},
    "kestrix_shell": {"kestrix_platform", "kestrix_toolkit", "kestrix_widgets"},
}
# Test support: which of our libraries the support may bring in.
SUPPORT = {"kestrix_testsupport_core": set(), "kestrix_testmain_core": set(),
           "kestrix_testsupport": {"kestrix_toolkit"}}
# Programs a test binary runs (a build-order dependency, nothing linked).
RUNS = {"platform_tests": {"kestrix-drives"}}
# The library each test binary tests.
TESTED = {"platform_tests": "kestrix_platform_linux", "toolkit_tests": "kestrix_toolkit",
          "widgets_tests": "kestrix_widgets", "drives_tests": "kestrix_drives",
          "settings_tests": "kestrix_settings", "shell_tests": "kestrix_shell",
          "details_tests": "kestrix_app", "app_tests": "kestrix_app"}
# Qt libraries a target may not reach at all.
NO_GUI = {"kestrix_platform", "kestrix_platform_linux", "kestrix_drives", "platform_tests", "drives_tests"}
GUI = {"Qt6::Gui", "Qt6::Widgets", "Qt6::DBus", "Qt6::Test"}
NO_QT = {"kestrix_drivemap", "kestrix-drives"}
# The system libraries behind the drive map: only the drive map links them.
SYSTEM = {"PkgConfig::MOUNT", "PkgConfig::BLKID", "PkgConfig::UDEV"}
SYSTEM_USERS = {"kestrix_drivemap"}
# Linux and POSIX headers: only the platform layer includes them, and
# kestrix-drives, which stands on the drive map alone.
LINUX_HEADER = re.compile(r'^\s*#\s*include\s*<(sys/|linux/|asm/|unistd\.h|fcntl\.h|dirent\.h|poll\.h|mntent\.h|'
                          r'libmount/|blkid/|libudev\.h|pwd\.h|grp\.h|signal\.h|dlfcn\.h|pthread\.h|sched\.h|'
                          r'termios\.h|spawn\.h|errno\.h|limits\.h)[^\n]*', re.M)
LINUX_HEADER_ALLOWED = ("src/platform/", "src/tools/")


def graph(build):
    with tempfile.TemporaryDirectory() as d:
        dot = os.path.join(d, "g.dot")
        subprocess.run(["cmake", "--graphviz=" + dot, "."], cwd=build, check=True, stdout=subprocess.DEVNULL)
        text = open(dot).read()
    names = dict(re.findall(r'"(node\d+)" \[ label = "([^"]+)"', text))
    edges = {}
    for a, b in re.findall(r'"(node\d+)" -> "(node\d+)"', text):
        edges.setdefault(names[a], set()).add(names[b])
    return names.values(), edges


def reach(edges, start):
    seen, todo = set(), [start]
    while todo:
        for n in edges.get(todo.pop(), ()):
            if n not in seen:
                seen.add(n)
                todo.append(n)
    return seen


def linux_headers(source_root):
    """(file, header) for every Linux header included above the platform."""
    found = []
    src = os.path.join(source_root, "src")
    for folder, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, source_root)
            if rel.startswith(LINUX_HEADER_ALLOWED):
                continue
            for m in LINUX_HEADER.finditer(open(path, encoding="utf-8", errors="replace").read()):
                found.append((rel, m.group(0).strip()))
    return found


def ours(n):
    return n.startswith("kestrix")


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    nodes, edges = graph(build)
    faults = []
    for t in sorted(n for n in nodes if ours(n) or n.endswith("_tests")):
        direct = sorted(n for n in edges.get(t, ()) if ours(n))
        print(f"{t:26} -> {' '.join(direct) or '(nothing of ours)'}")
    for lib, allowed in ALLOWED.items():
        got = {n for n in reach(edges, lib) if ours(n)}
        if lib in got:
            faults.append(f"{lib} depends on itself (a cycle)")
        if got - allowed:
            faults.append(f"{lib} reaches {sorted(got - allowed)}, allowed only {sorted(allowed)}")
    for sup, allowed in SUPPORT.items():
        got = {n for n in reach(edges, sup) if ours(n) and n not in SUPPORT}
        if got - allowed:
            faults.append(f"{sup} brings in {sorted(got - allowed)}")
    for test, lib in TESTED.items():
        if test not in nodes:
            continue
        got = {n for n in reach(edges, test) if ours(n) and n not in SUPPORT}
        wanted = {lib} | {n for n in reach(edges, lib) if ours(n)}
        for program in RUNS.get(test, ()):
            wanted |= {program} | {n for n in reach(edges, program) if ours(n)}
        if got - wanted:
            faults.append(f"{test} links {sorted(got - wanted)} beyond {lib} and its dependencies")
    for t in NO_GUI:
        bad = reach(edges, t) & GUI
        if bad:
            faults.append(f"{t} reaches {sorted(bad)}")
    for t in NO_QT:
        bad = {n for n in reach(edges, t) if n.startswith("Qt")}
        if bad:
            faults.append(f"{t} reaches {sorted(bad)}")
    for t in sorted(n for n in nodes if ours(n) and n not in SYSTEM_USERS):
        bad = edges.get(t, set()) & SYSTEM
        if bad:
            faults.append(f"{t} links {sorted(bad)} itself, not through the drive map")
    for lib in ("kestrix_platform", "kestrix_drives", "kestrix_toolkit", "kestrix_widgets", "kestrix_settings"):
        bad = reach(edges, lib) & SYSTEM
        if bad:
            faults.append(f"{lib} reaches {sorted(bad)}")
    source_root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    for rel, line in linux_headers(source_root):
        faults.append(f"{rel}: {line} above the platform layer")
    print("Linux headers: only in " + " and ".join(LINUX_HEADER_ALLOWED))
    for f in faults:
        print("FAULT:", f)
    print("no faults" if not faults else f"{len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
