"""One table of every measurement: what it is, its baseline from the same run, ours, the
ratio, the goal and whether it is met.

usage: summary.py BENCH_JSON SUMMARY_TSV
"""
import json
import statistics
import sys


def main():
    with open(sys.argv[1]) as f:
        bench = {b["name"]: b for b in json.load(f)["benchmarks"]}
    rows = []

    def ms(name):
        b = bench.get(name)
        if not b:
            return None
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
        return b["real_time"] * scale

    def row(measure, baseline_name, baseline, ours, goal, met):
        ratio = ours / baseline if baseline and ours is not None else None
        rows.append((measure, baseline_name, baseline, ours, ratio, goal, met))

    encodings = ["Windows-1250", "ISO-8859-2", "UTF-8"]
    read = ms("BM_ReadFileBaseline/50/iterations:3")
    for i, name in enumerate(encodings):
        open_ms = ms("BM_OpenFileAndPaint/50/%d/iterations:3" % i)
        row("open+paint 50 MB %s, in process" % name, "QFile::readAll", read, open_ms, "-", None)
        detect = ms("BM_DetectEncoding/50/%d/iterations:5" % i)
        if detect is not None and open_ms:
            row("  detecting %s" % name, "open+paint", open_ms, detect, "<= 5 % of open", detect / open_ms <= 0.05)
    copy = ms("BM_CopyAndFsyncBaseline/50/iterations:3")
    for i, name in enumerate(encodings):
        save = ms("BM_Save/50/%d/iterations:3" % i)
        row("save 50 MB %s" % name, "write + fsync", copy, save, "< 300 ms", save is not None and save < 300)
    memchr = ms("BM_MemchrBaseline/50/iterations:10")
    utf8 = ms("BM_ValidateUtf8/50/iterations:10")
    row("validate 50 MB of UTF-8", "memchr", memchr, utf8, "<= 3x memchr", utf8 is not None and memchr and utf8 <= 3 * memchr)
    find = ms("BM_FindNext/50/iterations:5")
    row("find next in 50 MB", "QString::indexOf", ms("BM_FindBaselineIndexOf/50/iterations:5"), find, "< 50 ms",
        find is not None and find < 50)
    table = ms("BM_TableIntoPanel/1000/iterations:2")
    row("table 1000 x 1000 into the panel", "setPlainText", ms("BM_TableBaselineSetPlainText/1000/iterations:2"),
        table, "< 400 ms", table is not None and table < 400)

    opens, peaks, startup, typing, instructions = {}, {}, {}, {}, None
    lines, whole = {}, {}
    scroll_past = paste_line = None
    with open(sys.argv[2]) as f:
        for line in f:
            kind, *fields = line.rstrip("\n").split("\t")
            if kind == "open":
                opens.setdefault(fields[0], []).append(float(fields[1]))
                peaks.setdefault(fields[0], []).append(float(fields[2]))
            elif kind == "startup":
                startup[fields[0]] = float(fields[1])
            elif kind == "startupinstr":
                instructions = (float(fields[0]) / 1e6, float(fields[1]) / 1e6)
            elif kind == "typing":
                parts = fields[1].replace(",", "").split()
                typing[fields[0]] = {parts[i]: float(parts[i + 1]) for i in range(0, len(parts) - 1, 3)}
            elif kind == "preview":
                row("preview page change, 1 MB", "view loading the file", float(fields[0]), float(fields[1]),
                    "< 1000 ms", float(fields[1]) < 1000)
            elif kind == "longline":
                lines.setdefault(fields[0], []).append(tuple(float(v) for v in fields[1:5]))
            elif kind == "pasteline":
                paste_line = float(fields[0])
            elif kind == "scrollpast":
                scroll_past = (float(fields[0]), float(fields[1]))
            elif kind == "wholeline":
                whole.setdefault(fields[0], {})[fields[1]] = float(fields[2])
            elif kind == "ftp":
                protocol, direction, size = fields[0], fields[1], fields[2]
                curl, ours = float(fields[3]) * 1000, float(fields[4]) * 1000
                if protocol == "ftp":
                    goal, met = "<= 1.1x curl", ours <= 1.1 * curl
                else:
                    goal, met = ">= 90 % of curl's speed", ours <= curl / 0.9
                row("%s %s %s MB, time" % (protocol.upper(), direction, size), "curl, same cipher", curl, ours,
                    goal, met)
            elif kind == "ftpclose":
                stalled = float(fields[2])
                row("%s closing the panel, download stalled" % fields[0].upper(), "closing it idle", float(fields[1]),
                    stalled, "< 2000 ms", stalled < 2000)
    for name in encodings:
        if name in opens:
            med, worst = statistics.median(opens[name]), max(opens[name])
            row("open+paint 50 MB %s, whole process (median)" % name, "QFile::readAll", read, med, "< 450 ms", med < 450)
            row("  worst of %d" % len(opens[name]), "", None, worst, "< 500 ms", worst < 500)
            row("  peak memory, MB", "", None, max(peaks[name]), "< 400 MB", max(peaks[name]) < 400)
    if "50 MB" in typing:
        base = typing.get("empty", {}).get("median")
        t = typing["50 MB"]
        row("typing at the end of 50 MB, first key", "key in an empty page", base, t["first"], "< 16 ms", t["first"] < 16)
        row("  slowest key", "key in an empty page", base, t["slowest"], "< 16 ms", t["slowest"] < 16)
    if "tarnwick" in startup:
        if "bare" in startup:
            row("start-up to first paint", "bare Qt + QScintilla", startup["bare"], startup["tarnwick"],
                "<= 1.25x bare", startup["tarnwick"] <= 1.25 * startup["bare"])
        if "geany" in startup:
            row("start-up to first paint", "Geany", startup["geany"], startup["tarnwick"], "<= 0.5x Geany",
                startup["tarnwick"] <= 0.5 * startup["geany"])
    if instructions:
        row("  millions of instructions to it", "bare Qt + QScintilla", instructions[0], instructions[1], "-", None)

    for mb in ("10", "10cjk", "100"):
        if mb in lines:
            total = statistics.median(r[0] for r in lines[mb])
            stall = max(r[1] for r in lines[mb])
            bare = statistics.median(r[2] for r in lines[mb])
            small = mb != "100"
            what = "a 10 MB line in Chinese" if mb == "10cjk" else "a %s MB line" % mb
            row("open+paint %s, in process" % what, "bare QScintilla + HTML lexer", bare, total,
                "< 1000 ms" if small else "-", total < 1000 if small else None)
            row("  longest stall of the window", "", None, stall, "< 1000 ms", stall < 1000)
            row("  a key typed into the line", "", None, statistics.median(r[3] for r in lines[mb]), "-", None)
        if mb == "10" and scroll_past is not None:
            row("  the same line further down, scrolled into view", "", None, scroll_past[0], "< 1000 ms",
                scroll_past[0] < 1000)
            row("  then a line of scrolling, caret elsewhere", "", None, scroll_past[1], "-", None)
        if mb == "10" and paste_line is not None:
            row("  the same line pasted into a page, to the paint", "", None, paste_line, "< 1000 ms", paste_line < 1000)
        w = whole.get(mb, {})
        if "tarnwick" in w:
            row("open+paint a %s MB line, whole process" % mb, "Geany", w.get("geany"), w["tarnwick"],
                "< 1000 ms" if mb == "10" else "-", w["tarnwick"] < 1000 if mb == "10" else None)

    def num(v):
        return "-" if v is None else ("%.2f" % v if v < 10 else "%.0f" % v)

    header = ("measure", "baseline", "baseline ms", "ours ms", "ratio", "goal", "met")
    table = [header] + [(m, b, num(bv), num(o), num(r), g, "-" if met is None else ("yes" if met else "NO"))
                        for m, b, bv, o, r, g, met in rows]
    widths = [max(len(str(r[i])) for r in table) for i in range(len(header))]
    print("== Summary")
    for i, r in enumerate(table):
        print("  ".join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip())
        if i == 0:
            print("  ".join("-" * w for w in widths))


if __name__ == "__main__":
    main()
