#!/usr/bin/env python3
"""Writes a large combined-format log for the run benchmark, fast.

The lines of the bundled sample log are reused in turn, each under a host
name drawn from a pool of 60,000 (named and numeric), so that the analyser's
host tables grow as on a busy site.

usage: make_big_log.py SAMPLE_LOG OUTPUT [LINES]
"""

import random
import sys


def main():
    sample, output = sys.argv[1], sys.argv[2]
    lines = int(sys.argv[3]) if len(sys.argv) > 3 else 1_000_000
    with open(sample, encoding="latin-1") as f:
        rests = [line.split(" ", 1)[1] for line in f if " " in line]
    rng = random.Random(1)
    hosts = []
    for i in range(60_000):
        if i % 3:
            hosts.append(f"host{i}.isp{i % 97}.example.{('com', 'net', 'de', 'fr', 'jp')[i % 5]}")
        else:
            hosts.append(".".join(str(rng.randrange(1, 255)) for _ in range(4)))
    picks = [rng.randrange(len(hosts)) for _ in range(4096)]
    chunk = []
    with open(output, "w", encoding="latin-1", newline="\n") as out:
        for i in range(lines):
            chunk.append(hosts[(i * 7 + picks[i & 4095]) % len(hosts)] + " " + rests[i % len(rests)])
            if len(chunk) == 65536:
                out.write("".join(chunk))
                chunk.clear()
        out.write("".join(chunk))


if __name__ == "__main__":
    main()
