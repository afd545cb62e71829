#!/usr/bin/python3
"""Kills `quillmark-cli convert` and `join` runs at random moments and counts
the sheet and tile file pairs they leave disagreeing.

    bench/killed_pairs.py [path/to/quillmark-cli] [kills per command]

Runs alternate between two outputs that differ in every pair (convert to 720
and to 540; join vertically and horizontally), so a pair whose tile file comes
from one run and whose sheet from another is seen. Each run is killed with
SIGKILL after a random delay up to the length of a whole run, and starts from
the complete outcome of the other run, so that every kill is a trial of its
own: a pair torn by one kill is not counted again by the kills after it.
"""
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
cli = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "bin", "quillmark-cli"))
kills = int(sys.argv[2]) if len(sys.argv) > 2 else 100
demo = os.path.join(here, "..", "skins", "demo", "res")
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


def state(directory, names):
    """The bytes of each tile file and the size of each sheet."""
    result = {}
    for name in names:
        til = os.path.join(directory, name + ".til")
        png = os.path.join(directory, name + ".png")
        with open(til, "rb") as f:
            result[name] = (f.read(), png_size(png))
    return result


def snapshot(directory, names):
    """The bytes of every pair, to put back before a trial."""
    files = {}
    for name in names:
        for suffix in (".til", ".png"):
            path = os.path.join(directory, name + suffix)
            with open(path, "rb") as f:
                files[path] = f.read()
    return files


def restore(files):
    for path, data in files.items():
        with open(path, "wb") as f:
            f.write(data)


def run(args, cwd):
    return subprocess.run([cli] + args, cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode


def trial(label, prepare, commands, names, workdir, target):
    # The two complete outcomes, and how long a run takes. A run edits what
    # the other left, so both are recorded after a first round.
    for args in commands:
        run(args, workdir)
    outcomes = []
    snapshots = []
    durations = []
    for args in commands:
        prepare()
        start = time.monotonic()
        if run(args, workdir) != 0:
            sys.exit(f"{label}: {' '.join(args)} failed")
        durations.append(time.monotonic() - start)
        outcomes.append(state(target, names))
        snapshots.append(snapshot(target, names))
    longest = max(durations)
    mismatched = 0
    torn = 0
    for i in range(kills):
        restore(snapshots[i % 2])
        args = commands[(i + 1) % 2]
        process = subprocess.Popen([cli] + args, cwd=workdir, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        time.sleep(random.uniform(0, longest))
        process.send_signal(signal.SIGKILL)
        process.wait()
        now = state(target, names)
        before = mismatched
        for name in names:
            til, size = now[name]
            sources = {k for k, outcome in enumerate(outcomes) if outcome[name][0] == til}
            sizes = {k for k, outcome in enumerate(outcomes) if outcome[name][1] == size}
            if not sources & sizes:
                mismatched += 1
                if os.environ.get("KILLED_PAIRS_DEBUG"):
                    print(name, sources, sizes, size, til[:200])
        torn += mismatched > before
    print(f"{label}: {kills} runs killed, {torn} left a mismatch ({mismatched} mismatched pairs)")
    return mismatched


def main():
    work = tempfile.mkdtemp()
    try:
        source = os.path.join(work, "res")
        shutil.copytree(demo, source)
        out = os.path.join(work, "out")
        os.mkdir(out)
        names = [f[:-4] for f in sorted(os.listdir(source)) if f.endswith(".til")]
        total = trial("convert", lambda: None,
                      [["convert", source, out, "--from", "1080", "--to", "720"],
                       ["convert", source, out, "--from", "1080", "--to", "540"]],
                      names, work, out)
        tiles = os.path.join(work, "tiles")
        os.mkdir(tiles)
        run(["split", os.path.join(source, "keys.til"), tiles], work)
        joined = os.path.join(work, "joined")
        os.mkdir(joined)
        total += trial("join", lambda: None,
                       [["join", tiles, os.path.join(joined, "keys.til")],
                        ["join", tiles, os.path.join(joined, "keys.til"), "--horizontal"]],
                       ["keys"], work, joined)
        return 1 if total else 0
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    sys.exit(main())
