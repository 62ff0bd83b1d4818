#!/usr/bin/env python3
"""Checks the calendar core against Python's datetime, an independent calendar.

usage: check_against_python.py {calendar|pairs|clock} TOOL [ARG ...]

TOOL [ARG ...] is the reference tool's command line (under an emulator when the
tool is built for another system).
"""
import datetime
import random
import subprocess
import sys

DAY0 = datetime.datetime(1899, 12, 30)
FIRST = datetime.datetime(100, 1, 1)
LAST = datetime.datetime(9999, 12, 31)
FIRST_S = int((FIRST - DAY0).total_seconds())
LAST_S = int((LAST - DAY0).total_seconds())


def run(tool, lines):
    out = subprocess.run(tool, input="\n".join(lines) + "\n", capture_output=True, text=True, check=True).stdout
    return out.split("\n")[: len(lines)]


def weekday(dt):  # 1 = Sunday .. 7 = Saturday
    return dt.isoweekday() % 7 + 1


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def check_calendar(tool):
    first_day, last_day = FIRST_S // 86400, LAST_S // 86400
    days = list(range(first_day, last_day + 1))
    got = subprocess.run(tool, input="C %d %d\n" % (first_day, last_day), capture_output=True, text=True,
                         check=True).stdout.split("\n")[: len(days)]
    fromordinal = datetime.date.fromordinal
    start = (DAY0 + datetime.timedelta(days=first_day)).date().toordinal()
    want = []
    year, before_year = None, 0
    for n, o in zip(days, range(start, start + len(days))):
        d = fromordinal(o)
        if d.year != year:
            year, before_year = d.year, datetime.date(d.year, 1, 1).toordinal() - 1
        want.append(f"{d.year} {d.month} {d.day} {d.isoweekday() % 7 + 1} {o - before_year} {n}")
    bad = 0
    if got != want:
        for n, line, w in zip(days, got, want):
            if line != w:
                bad += 1
                if bad < 10:
                    print("day %d: got %s, want %s" % (n, line, w))
    # The first and last days hold only their midnight inside the range.
    sample = [first_day + 1, -1, 0, 1, last_day - 1] + random.Random(7).sample(days[1:-1], 40)
    for n, line in zip(sample, run(tool, ["R %d" % n for n in sample])):
        if line != "ok":
            bad += 1
            print("round trip fails on day %d" % n)
    print("%d days checked, %d problems" % (len(days), bad))
    return bad == 0


def reference_pair(a, b):
    ta, tb = DAY0 + datetime.timedelta(seconds=a), DAY0 + datetime.timedelta(seconds=b)
    diff = a - b
    d = trunc_div(diff, 86400)
    w = trunc_div(d, 7)
    if diff > 0 and weekday(ta) < weekday(tb):
        w += 1
    elif diff < 0 and weekday(tb) < weekday(ta):
        w -= 1
    return "%d %d %d %d %d" % (diff, w, trunc_div(diff, 3600), trunc_div(diff, 60), diff)


def check_pairs(tool):
    rng = random.Random(20211001)
    points = [rng.randint(FIRST_S, LAST_S) for _ in range(200000)]
    dense = []
    for k in range(0, 22):
        for sign in (1, -1):
            base = sign * (1 << k) * 86400
            for delta in (-86401, -86400, -1, 0, 1, 86399, 86400):
                s = base + delta
                if FIRST_S <= s <= LAST_S:
                    dense.append(s)
    dense += list(range(-3 * 86400, 3 * 86400, 3607))
    pairs = list(zip(points[::2], points[1::2]))
    pairs += [(a, b) for a in dense for b in dense[::5]]
    pairs += [(a, a + rng.randint(-10 ** 6, 10 ** 6)) for a in points[:20000]]
    pairs = [(a, b) for a, b in pairs if FIRST_S <= b <= LAST_S]
    got = run(tool, ["P %d %d" % p for p in pairs])
    bad = 0
    for (a, b), line in zip(pairs, got):
        want = reference_pair(a, b)
        if line != want:
            bad += 1
            if bad < 10:
                print("pair %d %d: got %s, want %s" % (a, b, line, want))
    unit_seconds = {4: 604800, 5: 86400, 6: 3600, 7: 60, 8: 1}
    adds = []
    for s in points[:50000] + dense:
        unit = rng.choice(list(unit_seconds))
        n = rng.randint(-(LAST_S - FIRST_S) // unit_seconds[unit], (LAST_S - FIRST_S) // unit_seconds[unit])
        n = max(-2 ** 31, min(2 ** 31 - 1, n))
        adds.append((s, unit, n))
    for (s, unit, n), line in zip(adds, run(tool, ["A %d %d %d" % x for x in adds])):
        moved = DAY0 + datetime.timedelta(seconds=s) + datetime.timedelta(seconds=n * unit_seconds[unit]) \
            if FIRST_S <= s + n * unit_seconds[unit] <= LAST_S else None
        want = str(int((moved - DAY0).total_seconds())) if moved else str(s + n * unit_seconds[unit])
        if line != want:
            bad += 1
            if bad < 20:
                print("add %d unit %d by %d: got %s, want %s" % (s, unit, n, line, want))
    print("%d pairs and %d moves checked, %d problems" % (len(pairs), len(adds), bad))
    return bad == 0


def check_clock(tool):
    # The system clock's local time against Python's own reading of it, taken just
    # before and after; the core truncates to the second.
    def now_s():
        return int((datetime.datetime.now() - DAY0).total_seconds())
    before = now_s()
    got = int(run(tool, ["N"])[0])
    after = now_s()
    ok = before - 1 <= got <= after + 1
    print("clock: %s, Python between %s and %s" % (DAY0 + datetime.timedelta(seconds=got),
                                                 DAY0 + datetime.timedelta(seconds=before),
                                                 DAY0 + datetime.timedelta(seconds=after)))
    return ok


if __name__ == "__main__":
    what, tool = sys.argv[1], sys.argv[2:]
    ok = {"calendar": check_calendar, "pairs": check_pairs, "clock": check_clock}[what](tool)
    sys.exit(0 if ok else 1)
