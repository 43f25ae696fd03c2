#!/usr/bin/env python3
"""What making copies durable costs on this disk, apart from any program: the system calls of four ways
to copy one folder's files into a new folder, each timed on fresh destinations, interleaved, medians.

  bench/flush_cost.py SOURCE_DIR [--reps 7]

- cp:          create each file and copy into it (copy_file_range), as `cp -r` does;
- cp + flush:  the same, then every copy flushed (fsync) from 32 threads;
- staged:      read each file, write a temporary file beside its destination, rename them all at the end;
- staged + flush: the same with write-back started per file and every temporary flushed from 32
  threads before the renames, as `vextools backup` and every save do.

The destinations stay in one temporary folder until the end (deleting them earlier would slow the
later runs: see run.py's set_aside). Python's own cost per call is the same for each way, a few
microseconds; the differences between the ways are the disk's."""

import argparse
import os
import random
import shutil
import statistics
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor


def files_of(source):
    return sorted(n for n in os.listdir(source) if os.path.isfile(os.path.join(source, n)))


def copy_like_cp(source, dest, names, flush):
    os.mkdir(dest)
    opened = []
    for name in names:
        src = os.open(os.path.join(source, name), os.O_RDONLY)
        size = os.fstat(src).st_size
        out = os.open(os.path.join(dest, name), os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
        while size > 0:
            n = os.copy_file_range(src, out, size)
            if n <= 0:
                break
            size -= n
        os.close(src)
        if flush:
            opened.append(out)
        else:
            os.close(out)
    if flush:
        with ThreadPoolExecutor(32) as pool:
            list(pool.map(lambda fd: (os.fsync(fd), os.close(fd)), opened))


def copy_staged(source, dest, names, flush):
    os.mkdir(dest)
    staged = []
    for name in names:
        src = os.open(os.path.join(source, name), os.O_RDONLY)
        data = os.read(src, os.fstat(src).st_size)
        os.close(src)
        fd, temp = tempfile.mkstemp(prefix="." + name + ".", dir=dest)
        os.write(fd, data)
        if flush and hasattr(os, "sync_file_range"):
            os.sync_file_range(fd, 0, 0, os.SYNC_FILE_RANGE_WRITE)
        staged.append((fd, temp, os.path.join(dest, name)))
    if flush:
        with ThreadPoolExecutor(32) as pool:
            list(pool.map(lambda s: os.fsync(s[0]), staged))
    for fd, temp, target in staged:
        os.close(fd)
        os.rename(temp, target)


WAYS = {
    "cp": lambda s, d, n: copy_like_cp(s, d, n, False),
    "cp + flush": lambda s, d, n: copy_like_cp(s, d, n, True),
    "staged": lambda s, d, n: copy_staged(s, d, n, False),
    "staged + flush": lambda s, d, n: copy_staged(s, d, n, True),
}


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("source")
    ap.add_argument("--reps", type=int, default=7)
    a = ap.parse_args()
    names = files_of(a.source)
    work = tempfile.mkdtemp(prefix="vexflush-")
    times = {way: [] for way in WAYS}
    try:
        os.sync()
        for rep in range(a.reps):
            for way in random.sample(list(WAYS), len(WAYS)):
                dest = os.path.join(work, f"{rep}-{way.replace(' ', '')}")
                start = time.perf_counter()
                WAYS[way](a.source, dest, names)
                times[way].append(time.perf_counter() - start)
        print(f"{len(names)} files of {a.source}, medians of {a.reps}:")
        for way, t in times.items():
            print(f"  {statistics.median(t) * 1000:7.1f} ms  {way}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
