"""Best-of-N timing of whole processes for the side-by-side scripts.

Each run is started with posix_spawn (vfork semantics), so the child's peak
resident size is its own and not a copy of this interpreter's.
"""
import os
import time


def run_once(argv, cwd=None, env=None, until_frame=False):
    """(wall seconds, processor seconds, peak RSS in KiB, exit status).

    With `until_frame`, the program prints "first frame: MONOTONIC_NS CPU_NS"
    (bench/firstframe.h) and wall and processor time are counted up to that
    frame rather than to the program's exit."""
    here = os.getcwd()
    if cwd:
        os.chdir(cwd)
    try:
        devnull = os.open(os.devnull, os.O_WRONLY)
        reader, writer = os.pipe() if until_frame else (None, devnull)
        try:
            actions = [(os.POSIX_SPAWN_DUP2, writer, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)]
            launched = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
            start = time.perf_counter()
            pid = os.posix_spawn(argv[0], argv, env if env is not None else os.environ,
                                 file_actions=actions)
            output = b""
            if until_frame:
                os.close(writer)
                with os.fdopen(reader, "rb") as stream:
                    output = stream.read()
            _, status, usage = os.wait4(pid, 0)
            wall = time.perf_counter() - start
        finally:
            os.close(devnull)
    finally:
        os.chdir(here)
    cpu = usage.ru_utime + usage.ru_stime
    if until_frame:
        frames = [line.split()[2:4] for line in output.decode(errors="replace").splitlines()
                  if line.startswith("first frame: ")]
        if not frames:
            raise SystemExit("%s printed no first frame" % " ".join(argv))
        wall = (int(frames[0][0]) - launched) / 1e9
        cpu = int(frames[0][1]) / 1e9
    return wall, cpu, usage.ru_maxrss, os.waitstatus_to_exitcode(status)


def best_of(argv, runs, prepare=None, cwd=None, env=None, until_frame=False):
    """Best wall, best processor time and lowest peak RSS over `runs` runs;
    `prepare` runs before each (outside the timing). Fails on a non-zero exit."""
    return best_of_each([dict(argv=argv, prepare=prepare, cwd=cwd, env=env, until_frame=until_frame)], runs)[0]


def best_of_each(jobs, runs):
    """best_of for several programs side by side, taken in turn (one run of
    each per round), so that the machine's load changing during the
    measurement falls on all of them alike. Each job is a dict of best_of's
    arguments ("argv", and optionally "prepare", "cwd", "env",
    "until_frame"); the results come in the order of the jobs."""
    bests = [None] * len(jobs)
    for _ in range(runs):
        for index, job in enumerate(jobs):
            if job.get("prepare"):
                job["prepare"]()
            wall, cpu, rss, code = run_once(job["argv"], job.get("cwd"), job.get("env"),
                                            job.get("until_frame", False))
            if code != 0:
                raise SystemExit("%s exited with %d" % (" ".join(job["argv"]), code))
            now = (wall, cpu, rss)
            best = bests[index]
            bests[index] = now if best is None else tuple(min(a, b) for a, b in zip(best, now))
    return [{"wall": best[0], "cpu": best[1], "rss": best[2]} for best in bests]


def report(rows, ours, peer, metrics=("wall", "cpu")):
    """Prints one line per row and the ours/peer ratios."""
    names = {"wall": "wall", "cpu": "processor", "rss": "peak memory"}
    width = max(len(name) for name, _ in rows)
    for name, result in rows:
        parts = []
        for metric in metrics:
            if metric == "rss":
                parts.append("%s %7.1f MiB" % (names[metric], result[metric] / 1024.0))
            else:
                parts.append("%s %8.2f ms" % (names[metric], result[metric] * 1000.0))
        print("%-*s  %s" % (width, name, "   ".join(parts)))
    ratios = ", ".join("%s %.2f" % (names[m], ours[m] / peer[m]) for m in metrics if peer[m] > 0)
    print("ours/peer: %s" % ratios)
