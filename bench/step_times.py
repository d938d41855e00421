#!/usr/bin/env python3
"""Prints where the time of an uninstall goes, from the step files that UnInstall.exe, its
cleanup copy and the driver wrote when UNINSTALL_STEP_TIMES was set (scripts/bench-peers -s).

    bench/step_times.py FOLDER      # every steps-N-ROUND.txt in it; medians per N

Each mark is shown with the time since the one before it on the common time line, so the
column sums to the whole run; the totals of the status text and the bar are sums of many
short calls inside the files and folders steps."""
import collections, glob, os, re, statistics, sys


def role_of(marks):
    names = {name for name, _ in marks}
    if any(n.startswith("driver-") for n in names):
        return "driver"
    if "cleanup-waited" in names:
        return "cleanup"
    if "confirmed" in names or "confirm-asked" in names:
        return "uninstaller"
    return "bench"


def read_run(path):
    by_process = collections.defaultdict(list)
    totals = {}
    for line in open(path, errors="replace"):
        parts = line.split()
        if len(parts) == 4 and parts[1].startswith("total:"):
            totals[parts[1][6:]] = (int(parts[2]) / 1e6, int(parts[3]))
        elif len(parts) == 3:
            by_process[parts[0]].append((parts[1], int(parts[2])))
    timeline = []
    for marks in by_process.values():
        role = role_of(marks)
        timeline += [(time, f"{role}:{name}") for name, time in marks]
    timeline.sort()
    steps = []
    for (before, _), (after, label) in zip(timeline, timeline[1:]):
        steps.append((label, (after - before) / 1e6))
    whole = (timeline[-1][0] - timeline[0][0]) / 1e6 if timeline else 0.0
    return steps, totals, whole


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    runs = collections.defaultdict(list)
    for path in sorted(glob.glob(os.path.join(folder, "steps-*.txt"))):
        match = re.search(r"steps-(\d+)-", os.path.basename(path))
        runs[int(match.group(1)) if match else 0].append(read_run(path))
    for n, measured in sorted(runs.items()):
        print(f"\nN={n}: {len(measured)} run(s), median seconds since the mark before")
        order, values = [], collections.defaultdict(list)
        for steps, _, _ in measured:
            for label, seconds in steps:
                if label not in values:
                    order.append(label)
                values[label].append(seconds)
        for label in order:
            print(f"  {label:36s} {statistics.median(values[label]):8.3f}")
        print(f"  {'whole run':36s} {statistics.median(w for _, _, w in measured):8.3f}")
        names = sorted({name for _, totals, _ in measured for name in totals})
        for name in names:
            seconds = statistics.median(t[name][0] for _, t, _ in measured if name in t)
            calls = statistics.median(t[name][1] for _, t, _ in measured if name in t)
            print(f"  {'in ' + name + ' calls':36s} {seconds:8.3f}  ({calls:.0f} calls)")


if __name__ == "__main__":
    main()
