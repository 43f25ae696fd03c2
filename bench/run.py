#!/usr/bin/env python3
"""Whole-program benchmark: every verb against its baseline, paired in one run.

For each project (the vbccr corpus, generated projects of 100,000 and 1,000,000 lines, one module of
60,000 lines) and each verb, a fresh copy of the project is made before every run (not timed), then
the verb and its baseline run alternately: `sed -i 's/^/10 /'` over the same module files for the
rewriting verbs, `cp -r` of the project folder for backup. The copies are flushed to disk first and an
earlier pair's copies are moved aside until the end rather than deleted, so that each run meets files
at rest, as a user's are: a full run keeps about 100 copies of each project for each build it times
(4.5 GB for one build). One warm-up pair, then the medians of --reps pairs; peak memory is the verb's
maximum resident set (getrusage of the child).

  bench/run.py [--vextools build/vextools] [--reps 5] [--projects vbccr,100k,1m,60k] [--verbs ...]
               [--before OTHER_VEXTOOLS]

With --before, another build runs each pair too, interleaved with this one's, and the table gives both
(a busy machine then slows both alike, so their ratios compare even where the times move).

unnumber and remove-handlers run on copies that `number` and `add-handlers` prepared first.
"""
import argparse
import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
CODE_EXT = (".bas", ".cls", ".frm", ".ctl", ".pag", ".dob", ".dsr")
VERBS = ["number", "number --dry-run", "unnumber", "add-handlers", "remove-handlers", "indent",
         "delete-lines", "backup"]
PREPARED = {"unnumber": "number", "remove-handlers": "add-handlers"}


def timed(argv, cwd=None, codes=(0, 1)):
    """Runs argv; returns (seconds, peak RSS in kB, exit code). Output is discarded; an exit code not in
    `codes` stops the bench."""
    start = time.perf_counter()
    p = subprocess.Popen(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(p.pid, 0)
    elapsed = time.perf_counter() - start
    err = p.stderr.read().decode(errors="replace")
    p.stderr.close()
    p.returncode = os.waitstatus_to_exitcode(status)
    if p.returncode not in codes:
        sys.exit(f"{' '.join(argv)} failed ({p.returncode}):\n{err}")
    return elapsed, usage.ru_maxrss, p.returncode


def code_files(root):
    return sorted(f for f in glob.glob(os.path.join(root, "**", "*"), recursive=True)
                  if f.lower().endswith(CODE_EXT))


def source_bytes(root):
    return sum(os.path.getsize(f) for f in code_files(root))


class Project:
    def __init__(self, name, master, vbps):
        self.name, self.master, self.vbps = name, master, vbps  # vbps relative to master


def make_projects(work, wanted, corpus):
    gen = os.path.join(HERE, "gen_project.py")
    out = []
    for key in wanted:
        dst = os.path.join(work, key)
        if key == "vbccr":
            if not corpus or not os.path.isdir(corpus):
                print(f"skipping vbccr: {corpus or '../shared/corpus/vbccr'} not found", file=sys.stderr)
                continue
            shutil.copytree(corpus, dst)
            subprocess.run(["chmod", "-R", "u+w", dst], check=True)  # the corpus may be read-only
        elif key in ("100k", "1m"):
            lines = 100_000 if key == "100k" else 1_000_000
            subprocess.run([sys.executable, gen, dst, str(lines)], check=True)
        elif key == "60k":
            subprocess.run([sys.executable, gen, dst, "60000", "--single"], check=True)
        else:
            sys.exit(f"unknown project {key}")
        vbps = sorted(os.path.relpath(v, dst) for v in glob.glob(os.path.join(dst, "**", "*.vbp"), recursive=True))
        out.append(Project(key, dst, vbps))
    return out


def verb_argv(exe, verb, project_dir, vbp, settings, backup_to):
    words = verb.split()
    argv = [exe, words[0], os.path.join(project_dir, vbp), "--settings", settings] + words[1:]
    if words[0] == "backup":
        argv += ["--to", backup_to]
    return argv


def set_aside(folder, work):
    """Moves an earlier pair's copy out of the way, to be deleted when the bench ends. Deleting it now
    would slow the next runs' file creation, and not alike: ext4 without a journal (this VM's) passes
    over every inode freed in the last minute, one by one, each time it makes a file, so thousands of
    files deleted between pairs put a cost on each run that a user's disk does not have."""
    if os.path.lexists(folder):
        trash = os.path.join(work, "trash")
        os.makedirs(trash, exist_ok=True)
        os.rename(folder, os.path.join(trash, str(len(os.listdir(trash)))))


def run_pair(exe, verb, proj, source, work, settings):
    """One fresh copy, the verb on it; another fresh copy, the baseline on it. Returns (t, rss, tb)."""
    fresh = os.path.join(work, "fresh")
    base = os.path.join(work, "base")
    for d in (fresh, base, fresh + ".bak", base + ".bak"):
        set_aside(d, work)
    shutil.copytree(source, fresh)
    shutil.copytree(source, base)
    # Both copies reach the disk before either run starts, as a user's files have: replacing a copy
    # still in unwritten pages frees no blocks and costs far less, and an earlier pair's write-back
    # would land in whichever run came next.
    os.sync()
    t, rss, code = 0.0, 0, 0
    for vbp in proj.vbps:
        # A run the engine aborts (exit 3: numbering a 60,000-line module overflows VB's Integer line
        # numbers) is timed as it stands and flagged in the table.
        dt, r, c = timed(verb_argv(exe, verb, fresh, vbp, settings, fresh + ".bak"), codes=(0, 1, 3))
        t, rss, code = t + dt, max(rss, r), max(code, c)
    if verb == "backup":  # each makes its own folder: where a new folder goes decides what its files cost
        tb = timed(["cp", "-r", base, base + ".bak"])[0]
    else:
        tb = timed(["sed", "-i", "s/^/10 /"] + code_files(base))[0]
    return t, rss, tb, code


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--vextools", default=os.path.join(REPO, "build", "vextools"))
    ap.add_argument("--reps", type=int, default=5)
    ap.add_argument("--projects", default="vbccr,100k,1m,60k")
    ap.add_argument("--verbs", default=",".join(VERBS))
    ap.add_argument("--corpus", default=os.environ.get("VEXTOOLS_CORPUS", ""))
    ap.add_argument("--keep", help="build the projects in this folder and keep them")
    ap.add_argument("--before", help="another vextools to time in the same pairs, for a before/after table")
    a = ap.parse_args()
    corpus = a.corpus or next((c for c in (os.path.join(REPO, "..", "shared", "corpus", "vbccr"),
                                           os.path.join(REPO, "..", "..", "shared", "corpus", "vbccr"))
                               if os.path.isdir(c)), "")
    exes = [os.path.abspath(a.before)] if a.before else []
    exes.append(os.path.abspath(a.vextools))
    work = a.keep or tempfile.mkdtemp(prefix="vexbench-")
    os.makedirs(work, exist_ok=True)
    settings = os.path.join(work, "settings.ini")
    os.environ["VEXTOOLS_HOME"] = os.path.join(work, "home")
    verbs = a.verbs.split(",")
    projects = make_projects(work, a.projects.split(","), corpus)
    before = f"{'before s':>8} {'ratio':>6} {'MB':>6} " if a.before else ""
    print(f"{'project':8} {'verb':18} {before}{'verb s':>8} {'base s':>8} {'ratio':>6} {'peak MB':>8} {'src MB':>7}")
    try:
        for proj in projects:
            src_mb = source_bytes(proj.master) / 1e6
            prepared = {}
            for verb in verbs:
                source = proj.master
                if verb in PREPARED:  # a copy the opposite verb has already worked on
                    first = PREPARED[verb]
                    if first not in prepared:
                        prepared[first] = os.path.join(work, f"{proj.name}.{first}")
                        shutil.copytree(proj.master, prepared[first])
                        for vbp in proj.vbps:
                            timed(verb_argv(exes[-1], first, prepared[first], vbp, settings, work), codes=(0, 1, 3))
                    source = prepared[first]
                for exe in exes:
                    run_pair(exe, verb, proj, source, work, settings)  # warm-up
                runs = {exe: [] for exe in exes}
                for _ in range(a.reps):
                    for exe in exes:
                        runs[exe].append(run_pair(exe, verb, proj, source, work, settings))
                cells, note = [], ""
                for exe in exes:
                    t = statistics.median(r[0] for r in runs[exe])
                    tb = statistics.median(r[2] for r in runs[exe])
                    rss = max(r[1] for r in runs[exe]) / 1024
                    note = note or ("  exit 3 (aborted)" if any(r[3] == 3 for r in runs[exe]) else "")
                    cells.append((t, tb, rss))
                row = "".join(f"{t:8.3f} {t / tb:6.2f} {rss:6.1f} " for t, tb, rss in cells[:-1])
                t, tb, rss = cells[-1]
                print(f"{proj.name:8} {verb:18} {row}{t:8.3f} {tb:8.3f} {t / tb:6.2f} {rss:8.1f} {src_mb:7.1f}{note}",
                      flush=True)
    finally:
        shutil.rmtree(work if not a.keep else os.path.join(work, "trash"), ignore_errors=True)


if __name__ == "__main__":
    main()
