#!/usr/bin/python3
"""Side by side: the editor's start-up against a minimal Qt Quick Controls
window showing the same picture, both offscreen, from launch to the first
frame (wall and processor time up to the moment each program reports its
first frame; both exit on it) and their peak memory. Best of N runs each, the
two taken in turn.

    bench/startup_vs_minimal.py [BUILD_DIR] [RUNS]

The editor opens the demo panel; the picture of the minimal window is that
panel rendered by quillmark-cli. The editor runs from a copy of its program
in a temporary portable directory, so that every run starts from the same
fresh settings and the developer's own settings are not touched.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bestof import best_of_each, report  # noqa: E402

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(root, "build")
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
binaries = {name: os.path.join(build, "bin", name)
            for name in ("bench_editorfirstframe", "bench_minimalwindow", "quillmark-cli")}
for path in binaries.values():
    if not os.access(path, os.X_OK):
        sys.exit("%s is missing: build the benchmarks first (cmake --build build)" % path)

with tempfile.TemporaryDirectory() as work:
    skin = os.path.join(work, "skin")
    shutil.copytree(os.path.join(root, "skins", "demo"), skin)
    panel = os.path.join(skin, "port", "py_26.ini")
    picture = os.path.join(work, "preview.png")
    subprocess.run([binaries["quillmark-cli"], "render", panel, "-o", picture], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    program = os.path.join(work, "program")
    os.mkdir(program)
    editor = os.path.join(program, "bench_editorfirstframe")
    shutil.copy2(binaries["bench_editorfirstframe"], editor)
    fonts = os.path.join(build, "fonts")
    os.symlink(fonts, os.path.join(program, "fonts"))
    home = os.path.join(work, "home")
    os.mkdir(home)

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=home,
               XDG_RUNTIME_DIR=work, QT_QUICK_BACKEND=os.environ.get("QT_QUICK_BACKEND", "software"))

    def fresh_settings():
        for name in os.listdir(program):
            if name.startswith("quillmark"):
                os.remove(os.path.join(program, name))
        with open(os.path.join(program, "quillmark.portable"), "w") as marker:
            marker.write("a copy for timing\n")

    ours, peer = best_of_each([
        dict(argv=[editor, panel], prepare=fresh_settings, env=env, until_frame=True),
        dict(argv=[binaries["bench_minimalwindow"], picture], env=env, until_frame=True)], runs)

print("launch to first frame, offscreen, best of %d (scene graph: %s)" % (runs, env["QT_QUICK_BACKEND"]))
report([("editor (demo panel)", ours), ("minimal window (its picture)", peer)], ours, peer,
       metrics=("wall", "cpu", "rss"))
print("goals: wall ratio <= 2.50, editor peak memory <= 100.0 MiB")
