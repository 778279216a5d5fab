#!/usr/bin/env python3
"""Silent installations under Wine: setup.exe beside an NSIS installer of the same files.

Run by hand (not by CTest):
    bench/wine_vs_nsis.py BUILD_DIR [--pairs N] [--cold] [--no-requests] [CASE ...]
cases: many (400 x 64 KiB), large (2 x 64 MiB), tiny (20,000 x 1 KiB; with 2,000 x 1 KiB to
show how the cost grows with the count). Both installers are built from one generated product
(half the files text, half random bytes): ours with setup-pack onto BUILD_DIR/windows/setup.exe,
the peer with makensis (zlib, not solid). Both run silently in one fresh prefix, in alternating
pairs, each into an emptied folder; Wine's server stays up between runs, or with --cold is
started afresh for each, so that its start (some 0.1 to 3 s) is timed as well. For each case it prints the median wall time of each side
with min and max, the median ratio ours/NSIS, the ratio of the client processes' CPU time, and
the Wine server requests per installed file (a run of the case minus a run of one file of the
same size, divided by the difference in files): that count is exact from run to run.
"""
import argparse
import os
import random
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CASES = {
    "many": [(400, 64 * 1024)],
    "large": [(2, 64 * 1024 * 1024)],
    "tiny": [(2000, 1024), (20000, 1024)],
}
FOLDERS = 100
WORDS = ("setup install cabinet folder record registry shortcut wizard program file value "
         "window message block progress").split()


def make_files(folder, count, size):
    """COUNT files of SIZE bytes in up to FOLDERS subfolders; even ones text, odd ones random."""
    rng = random.Random(count * 7919 + size)
    names = []
    for i in range(count):
        sub = "d%02d" % (i % FOLDERS) if count > 1 else "d00"
        os.makedirs(os.path.join(folder, sub), exist_ok=True)
        name = "%s/f%05d.%s" % (sub, i, "txt" if i % 2 == 0 else "bin")
        with open(os.path.join(folder, name), "wb") as out:
            if i % 2 == 0:
                line = " ".join(rng.choice(WORDS) for _ in range(12)).encode() + b"\r\n"
                out.write((line * (size // len(line) + 1))[:size])
            else:
                left = size
                while left:
                    chunk = min(left, 1 << 20)
                    out.write(rng.randbytes(chunk))
                    left -= chunk
        names.append(name)
    return names


def write_ours(product, names, source_dir):
    for name in ("English.lng", "vqwizard.bmp", "vqheader.bmp"):
        shutil.copy(os.path.join(source_dir, "examples", name), product)
    lines = ["[Setup]", "AppName=Bench", "AppVersion=1", "DisableUpdate=0", "InstallationPath=<ProgramFiles>\\Bench",
             "Uninstall=1", "FilesCount=0", "[Files]"]
    for i, name in enumerate(names):
        win = name.replace("/", "\\")
        lines.append("%d=<InstallDir>\\%s?files\\%s?Overwrite?Yes" % (i, win, win))
    with open(os.path.join(product, "setup.ini"), "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


def write_nsis(product, names, out_exe):
    lines = ['Name "Bench"', 'OutFile "%s"' % out_exe, 'InstallDir "$PROGRAMFILES\\BenchNsis"',
             "RequestExecutionLevel admin", "SetCompressor zlib", "SilentInstall silent",
             "Section"]
    folder = None
    for name in sorted(names):
        sub, base = name.split("/")
        if sub != folder:
            lines.append('SetOutPath "$INSTDIR\\%s"' % sub)
            folder = sub
        lines.append('File "files\\%s\\%s"' % (sub, base))
    lines.append("SectionEnd")
    script = os.path.join(product, "bench.nsi")
    with open(script, "w") as out:
        out.write("\n".join(lines) + "\n")
    subprocess.run(["makensis", "-V1", script], check=True, stdout=subprocess.DEVNULL)


class Prefix:
    def __init__(self, work):
        self.env = dict(os.environ, WINEPREFIX=os.path.join(work, "prefix"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d")
        subprocess.run(["wineboot", "-i"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, check=True)
        self.keep_server()
        drive = os.path.join(self.env["WINEPREFIX"], "drive_c")
        self.targets = [os.path.join(drive, "Program Files (x86)", "Bench"),
                        os.path.join(drive, "Program Files (x86)", "BenchNsis")]

    def keep_server(self):
        # A server that stays up between runs: neither side pays for its start.
        subprocess.run(["wineserver", "-p"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def clean(self):
        for target in self.targets:
            shutil.rmtree(target, ignore_errors=True)

    def run(self, exe, switch, cold=False):
        """Wall seconds and client CPU seconds of one silent installation."""
        self.clean()
        if cold:
            # Wine's own start counted too, as a user's double-click pays it.
            subprocess.run(["wineserver", "-k"], env=self.env)
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.monotonic()
        done = subprocess.run(["wine", exe, switch], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        wall = time.monotonic() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        if done.returncode != 0:
            sys.exit("%s %s ended with %d" % (exe, switch, done.returncode))
        cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        return wall, cpu

    def requests(self, exe, switch):
        """Server requests of one run, by request name."""
        self.clean()
        # The server writes the trace, so this run starts a server of its own on our pipe.
        subprocess.run(["wineserver", "-k"], env=self.env)
        env = dict(self.env, WINEDEBUG="+server")
        proc = subprocess.Popen(["wine", exe, switch], env=env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE)
        counts = {}
        # "0024: name( ..." is a request; "0024: name() = ..." its reply.
        pattern = re.compile(rb": ([a-z_]+)\( ")
        for line in proc.stderr:
            match = pattern.search(line)
            if match:
                name = match.group(1).decode()
                counts[name] = counts.get(name, 0) + 1
        proc.wait()
        self.keep_server()
        return counts

    def close(self):
        subprocess.run(["wineserver", "-k"], env=self.env)


def build_pair(work, label, count, size, args):
    product = os.path.join(work, label)
    os.makedirs(os.path.join(product, "files"))
    names = make_files(os.path.join(product, "files"), count, size)
    write_ours(product, names, args.source)
    ours = os.path.join(work, label + "-ours.exe")
    subprocess.run([args.pack, "--pad", "--stub", args.stub, "--out", ours, product], check=True,
                   stdout=subprocess.DEVNULL)
    nsis = os.path.join(work, label + "-nsis.exe")
    write_nsis(product, names, nsis)
    shutil.rmtree(os.path.join(product, "files"))
    return ours, nsis


def spread(values):
    return "%.2f s [%.2f-%.2f]" % (statistics.median(values), min(values), max(values))


def top(counts, base, files):
    diff = {k: (counts.get(k, 0) - base.get(k, 0)) / files for k in set(counts) | set(base)}
    best = sorted(diff.items(), key=lambda kv: -kv[1])[:6]
    return ", ".join("%s %.1f" % (k, v) for k, v in best if v >= 0.05)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("cases", nargs="*", default=["many", "large", "tiny"])
    parser.add_argument("--pairs", type=int, default=5)
    parser.add_argument("--no-requests", action="store_true")
    parser.add_argument("--cold", action="store_true",
                        help="start Wine's server afresh for every run (its start is timed too)")
    args = parser.parse_intermixed_args()
    args.source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    args.pack = os.path.join(args.build, "tools", "pack", "setup-pack")
    args.stub = os.environ.get("SETUP_EXE", os.path.join(args.build, "windows", "setup.exe"))
    work = tempfile.mkdtemp(prefix="wine-vs-nsis.")
    xvfb = None
    if not os.environ.get("DISPLAY"):
        display = ":%d" % (150 + os.getpid() % 50)
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.environ["DISPLAY"] = display
        time.sleep(1)
    prefix = None
    try:
        prefix = Prefix(work)
        print("setup.exe %d bytes; %d pairs per case" % (os.path.getsize(args.stub), args.pairs))
        for case in args.cases:
            for count, size in CASES[case]:
                label = "%d x %s" % (count, "%d KiB" % (size >> 10) if size < 1 << 20 else
                                     "%d MiB" % (size >> 20))
                ours, nsis = build_pair(work, "c%d-%d" % (count, size), count, size, args)
                walls = {"ours": [], "nsis": []}
                cpus = {"ours": [], "nsis": []}
                ratios = []
                pairs = args.pairs if count * size < 4 << 30 and count < 10000 else max(2, args.pairs // 2)
                for i in range(pairs):
                    order = [("ours", ours, "/s"), ("nsis", nsis, "/S")]
                    if i % 2:
                        order.reverse()
                    got = {}
                    for side, exe, switch in order:
                        wall, cpu = prefix.run(exe, switch, args.cold)
                        walls[side].append(wall)
                        cpus[side].append(cpu)
                        got[side] = wall
                    ratios.append(got["ours"] / got["nsis"])
                cpu_ratio = statistics.median(cpus["ours"]) / statistics.median(cpus["nsis"])
                print("%-16s ours %s  nsis %s  wall ratio %.2f [%.2f-%.2f]  cpu ratio %.2f" %
                      (label, spread(walls["ours"]), spread(walls["nsis"]),
                       statistics.median(ratios), min(ratios), max(ratios), cpu_ratio))
                # Two files against one is within the noise of Wine's own services.
                if args.no_requests or count < 10:
                    continue
                one_ours, one_nsis = build_pair(work, "one-%d" % size, 1, size, args)
                for side, exe, one, switch in (("ours", ours, one_ours, "/s"),
                                               ("nsis", nsis, one_nsis, "/S")):
                    counts = prefix.requests(exe, switch)
                    base = prefix.requests(one, switch)
                    per_file = (sum(counts.values()) - sum(base.values())) / (count - 1)
                    print("%-16s %s: %.1f server requests per file (%d in all; %s)" %
                          ("", side, per_file, sum(counts.values()), top(counts, base, count - 1)))
                sys.stdout.flush()
    finally:
        if prefix:
            prefix.close()
        if xvfb:
            xvfb.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
