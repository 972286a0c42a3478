#!/usr/bin/env python3
"""Prints the rows of the benchmark table in docs/performance.md from the
outputs that scripts/bench.sh keeps (one NAME.txt per benchmark)."""
import re
import sys
from pathlib import Path

out = Path(sys.argv[1] if len(sys.argv) > 1 else "build/linux-release/bench-results")
NUM = r"([0-9]+(?:\.[0-9]+)?)"


def text(name):
    path = out / f"{name}.txt"
    return path.read_text(errors="replace") if path.exists() else ""


def find(pattern, body, what):
    m = re.search(pattern, body, re.M)
    if not m:
        raise ValueError(what)
    return [float(g) if re.fullmatch(NUM, g or "") else g for g in m.groups()]


def ms(v):
    return f"{v:.1f} ms" if v >= 10 else f"{v:.2f} ms"


def ratio(a, b):
    if not b:
        return "-"
    return f"{a / b:.2f}x" if a / b >= 0.1 else f"{a / b:.3f}x"


def mb(kb):
    return f"{kb / 1024:.1f} MB"


rows = []


def row(bench, what, data, first, warm, anchor, afirst, awarm, ratios, peak, goal):
    rows.append([bench, what, data, first, warm, anchor, afirst, awarm, ratios, peak, goal])


def hooks():
    body = text("hook_bench")
    found = re.findall(r"^(.+?)\s+" + NUM + r" ns/call\s+([0-9]+) allocations", body, re.M)
    base = next(float(t) for n, t, _ in found if n.startswith("pass-through"))
    ours = [(n.strip(), float(t), int(a)) for n, t, a in found if not n.startswith("pass-through")]
    lo, hi = min(t for _, t, _ in ours), max(t for _, t, _ in ours)
    allocs = sum(a for _, _, a in ours)
    row("ui/hook_bench", f"{len(ours)} hooks, a message they leave alone", "20,000,000 calls",
        "-", f"{lo:.2f}-{hi:.2f} ns", "a hook that only hands on", "-", f"{base:.2f} ns",
        f"{lo / base:.2f}-{hi / base:.2f}x", f"{allocs} allocations", "no allocation, no file access")


def open_shortcut():
    body = text("open_bench")
    lines, size = find(r"^link index: ([0-9]+) lines, " + NUM + " MB", body, "size")
    first = find(r"^first open \(host-sim command\)\s+" + NUM, body, "first")[0] / 1e3
    rfirst = find(r"^first read of the whole index\s+" + NUM, body, "first read")[0] / 1e3
    warm = find(r"^BKC_OnOpenMail \(target in place\)\s+" + NUM, body, "open")[0] / 1e3
    small = find(r"^  the same with a 1-line index\s+" + NUM, body, "small")[0] / 1e3
    read = find(r"^read of the whole index file\s+" + NUM, body, "read")[0] / 1e3
    opeak, rpeak = find(r"^peak memory .*: ([0-9]+) the first open, ([0-9]+) one read", body, "peak")
    row("open/open_bench", "BKC_OnOpenMail, target in place", f"link index {int(lines):,} lines, {size} MB",
        ms(first), ms(warm), "one read of the index", ms(rfirst), ms(read),
        f"{ratio(first, rfirst)} / {ratio(warm, read)} (host's part alone {ms(small)})",
        f"+{opeak:.0f} KB; +{rpeak:.0f} KB", "at most 2x one read")


def creation():
    body = text("creation_bench")
    mails, targets = find(r"^store: ([0-9]+) mails in the destination folder, ([0-9]+) targets", body, "store")
    count, total, each, first = find(
        r"^created ([0-9]+) shortcuts in " + NUM + r" ms \(" + NUM + r" ms each; the first " + NUM, body,
        "created")
    anchor_mb, anchor = find(r"^anchor: folder index read \(" + NUM + r" MB\).*: " + NUM + " ms", body, "anchor")
    r, part = find(r"^plug-in's part / anchor: " + NUM + r" \(" + NUM + " ms each", body, "part")
    peak = find(r"^peak memory of the creation .*: ([0-9]+)", body, "peak")[0]
    row("creation/creation_bench", f"LumoMakeShortCut x {int(count):,}, plug-in's part each",
        f"{int(mails):,} mails in the folder ({anchor_mb} MB index)", f"{ms(first)} (host's append in it)",
        f"{ms(part)} ({ms(each)} with the host's append)", "folder index read + settings write with flush",
        "-", ms(anchor), f"- / {r:.2f}x", f"+{peak:.0f} KB (1,000 shortcuts)", "-")


def link_index():
    body = text("link_index_bench")
    for m in re.finditer(r"^\s*([0-9]+)((?:\s+[0-9.]+){15})\s*$", body, re.M):
        lines = int(m.group(1))
        v = [float(x) for x in m.group(2).split()]
        size, find_, find1, grep, grep1, rg, upd, store, cat, catsync, read, read1 = v[:12]
        if lines < 100000:
            continue
        data = f"{lines:,} lines, {size} MB"
        row("linkindex/link_index_bench", "findIn by shortcut id", data, ms(find1), ms(find_),
            "grep -F -m1; rg -F -m1 (program runs); readFile", f"{ms(grep1)}; -; {ms(read1)}",
            f"{ms(grep)}; {ms(rg)}; {ms(read)}",
            f"{ratio(find1, grep1)} / {ratio(find_, grep)} grep, {ratio(find_, rg)} rg; "
            f"{ratio(find1, read1)} / {ratio(find_, read)} read", "-",
            "no slower than grep" if lines == 100000 else "-")
        row("linkindex/link_index_bench", "updateIn (crash-safe rewrite)", data, "-", ms(upd),
            "cat old > new; cat + sync", "-", f"{ms(cat)}; {ms(catsync)}",
            f"- / {ratio(upd, cat)} cat, {ratio(upd, catsync)} cat + sync", "-", "within 2x cat")
        row("linkindex/link_index_bench", "storeIn (line changed: rewrite)", data, "-", ms(store),
            "cat + sync", "-", ms(catsync), f"- / {ratio(store, catsync)}", "-", "-")


def removal():
    body = text("link_removal_bench")
    lines, size, mails = find(r"^link index: ([0-9]+) lines, " + NUM + r" MB; ([0-9]+) shortcut", body, "size")
    t = {}
    for key, pat in (("ours", "removeLinksOf"), ("bare", "anchor: bare write"), ("cat", "anchor: cat")):
        t[key] = find(r"^\s+" + re.escape(pat) + r".*?\s+" + NUM + r"\s+" + NUM + r"\s+" + NUM + r"\s*$", body, pat)
    idle, ours, anchor = find(r"^peak memory \(max RSS, KB\): ([0-9]+) set up only, ([0-9]+) with the removal, "
                              r"([0-9]+) with the bare write", body, "peak")
    row("linkindex/link_removal_bench", f"removeLinksOf, {int(mails):,} mails at once",
        f"{int(lines):,} lines, {size} MB", ms(t["ours"][0]), f"{ms(t['ours'][1])} (median {ms(t['ours'][2])})",
        "bare write of the result + fsync; cat", f"{ms(t['bare'][0])}; {ms(t['cat'][0])}",
        f"{ms(t['bare'][1])}; {ms(t['cat'][1])}",
        f"{ratio(t['ours'][0], t['bare'][0])} / {ratio(t['ours'][1], t['bare'][1])} bare write",
        f"{mb(ours)}; {mb(anchor)} (set-up {mb(idle)})", "one rewrite per command")


def mime():
    body = text("mime_tree_bench")
    size = find(r"^mail: ([0-9]+) bytes", body, "mail")[0]
    modes = {}
    for name in ("lumo MimePart", "GMime streaming", "GMime in memory"):
        first, best, peak, over, tree = find(
            r"^" + re.escape(name) + r"\s+first\s+" + NUM + r" ms.*?warm best\s+" + NUM +
            r" ms.*?peak RSS\s+([0-9]+) MB \(\+\s*([0-9]+) MB over source; tree alone \+\s*([0-9]+) MB\)",
            body, name)
        modes[name] = (first, best, peak, over, tree)
    o, s, g = modes["lumo MimePart"], modes["GMime streaming"], modes["GMime in memory"]
    row("mime/mime_tree_bench", "parse into the MIME tree + write back", f"{size / 1e6:.1f} MB multipart mail",
        ms(o[0]), ms(o[1]), "GMime streaming; GMime in memory", f"{ms(s[0])}; {ms(g[0])}",
        f"{ms(s[1])}; {ms(g[1])}", f"{ratio(o[0], s[0])} / {ratio(o[1], s[1])} streaming",
        f"tree +{o[4]:.0f} MB, with the written text +{o[3]:.0f} MB; +{s[3]:.0f} MB; +{g[3]:.0f} MB over the "
        f"{size / 1e6:.1f} MB source",
        "peak at most source + half, first at least as fast as GMime streaming, warm ahead")


def locator():
    body = text("locator_bench")
    files, size = find(r"^store: ([0-9]+) indexes, " + NUM + " MB", body, "store")
    for kind in ("present", "absent"):
        part = body[body.index(f"\n{kind} Message-ID"):]
        part = part[:part.index("locator warm")]
        get = lambda pat: find(r"^\s+" + re.escape(pat) + r".*?\s+" + NUM + r"\s+" + NUM + r"\s+" + NUM, part, pat)
        bare, ours, grep, rg = (get("bare read"), get("FindMailInMailboxes (reads)"), get("LC_ALL=C grep"),
                                get("rg -j1"))
        row("locator/locator_bench", f"FindMailInMailboxes, {kind} Message-ID",
            f"{int(files)} folder indexes, {size} MB, 1,000,000 mails", ms(ours[0]),
            f"{ms(ours[1])} ({ms(ours[2])} cpu)", "grep -rF -m1; rg -j1 -F -m1; bare read",
            f"{ms(grep[0])}; {ms(rg[0])}; {ms(bare[0])}", f"{ms(grep[1])}; {ms(rg[1])}; {ms(bare[1])}",
            f"{ratio(ours[0], grep[0])} / {ratio(ours[1], grep[1])} grep, {ratio(ours[1], rg[1])} rg; "
            f"cpu {ratio(ours[2], bare[2])} bare read",
            "see below" if kind == "present" else "-",
            "at least as fast as grep and rg; cpu within 1.5x a bare read")
    idle, busy = find(r"^\s+1,000,000 mails\s+([0-9]+) without a search,\s+([0-9]+) with", body, "peak")
    rows[-2][9] = f"{mb(busy)} (idle {mb(idle)})"


def cleanup():
    body = text("cleanup_bench")
    size = find(r"^store: [0-9]+ indexes, " + NUM + " MB", body, "store")[0]
    walk = find(r"^\s+FindMailInMailboxes, one walk.*?\s+" + NUM + r"\s+" + NUM + r"\s+" + NUM, body, "walk")
    clean = find(r"^\s+cleanIndex, 10,000 lines\s+" + NUM + r"\s+" + NUM + r"\s+" + NUM, body, "clean")
    idle, wpeak, cpeak = find(r"^peak memory \(max RSS, KB\): ([0-9]+) set up only, ([0-9]+) with one walk, "
                              r"([0-9]+) with the cleanup", body, "peak")
    row("cleanup/cleanup_bench", "cleanIndex, 10,000 lines without a location",
        f"{size} MB of folder indexes, 1,000,000 mails", ms(clean[0]), f"{ms(clean[1])} (median {ms(clean[2])})",
        "one FindMailInMailboxes walk", ms(walk[0]), f"{ms(walk[1])} (median {ms(walk[2])})",
        f"{ratio(clean[0], walk[0])} / {ratio(clean[1], walk[1])}", f"{mb(cpeak)}; {mb(wpeak)} (idle {mb(idle)})",
        "at most 3x one walk")
    literal = find(r"^\s+literal line-by-line cleanup\s+" + NUM, body, "literal")[0]
    batched = find(r"^\s+cleanIndex\s+" + NUM + " ms", body, "batched")[0]
    row("cleanup/cleanup_bench", "cleanIndex, 1,000 lines", "100,000 mails", "-", ms(batched),
        "the literal per-line cleanup", "-", ms(literal),
        f"- / {batched / literal:.4f}x ({literal / batched:.0f} times faster)", "-",
        "speed-up over the literal cleanup")


for part in (hooks, open_shortcut, creation, link_index, removal, mime, locator, cleanup):
    try:
        part()
    except (ValueError, StopIteration, IndexError) as e:
        rows.append([part.__name__, f"output not read ({e}): see {out}/", "", "", "", "", "", "", "", "", ""])

head = ["bench", "ours", "data", "first", "warm", "anchor", "anchor first", "anchor warm",
        "ratio first / warm", "peak memory (ours; anchor)", "goal"]
print("| " + " | ".join(head) + " |")
print("|" + "---|" * len(head))
for r in rows:
    print("| " + " | ".join(str(c) for c in r) + " |")
load = out / "load.txt"
if load.exists():
    print()
    print(load.read_text().strip())
