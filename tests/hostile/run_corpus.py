#!/usr/bin/env python3
"""Runs every mail of the hostile corpus down one road through lumo-host and
judges what survives. See docs/hostile.md.

    run_corpus.py --host lumo-host --plugin lumo.so --work DIR [--timeout S] [--no-trace] [NAME...]

For each mail (mails/*.eml kept here, and the large ones make_large.py makes
in DIR/generated), in a fresh folder DIR/NAME holding its own copy of the
plug-in: road.lhs runs under `strace -f -k`, and then

- the host ended by itself within the timeout (no crash, no sanitizer
  report, no hang), and the plain control mail passed every line;
- the link index is whole: every line ends CR LF, holds at most 511 bytes
  and five fields, starts with a shortcut id, no id twice, and its last field
  names a shortcut mail that is there and carries that id; and the link of
  the bystander (a mail and its shortcut in Work that no step touches) is
  there as it was made;
- no file outside the data folder (DIR/NAME/st) and the plug-in's settings
  file and link index was touched on the plug-in's behalf.

Telling the plug-in's file calls from the host's: both run in one process
and one thread, so the trace's own stack of each call decides. A call with a
frame of the plug-in's library anywhere in its stack was made by the plug-in,
or by a host function the plug-in called (BKA_GetSource reading the store);
it must stay inside the allowed set. A call without such a frame is the
host's own (reading the script and the mail file, storing mails, loading the
plug-in) and is not the plug-in's doing. As a second net that does not rest
on the unwinding, every path any call touched after the plug-in was loaded
must lie in the run's folder or among the system files a process reads
(shared libraries, iconv's modules, /proc/self, /dev/null); and the check is
held to have seen the plug-in at work (its link index opened with a plug-in
frame), so a trace without stacks cannot pass.
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_large  # noqa: E402

# Calls that name a file by a descriptor; the others name it by a path.
FD_CALLS = {"read", "write", "pread64", "pwrite64", "readv", "writev", "ftruncate", "fsync", "fdatasync"}
TWO_PATHS = {"rename", "renameat", "renameat2", "link", "linkat", "symlink", "symlinkat"}
NO_PATH = {"getcwd", "execve", "execveat"}
TRACED = "%file,read,write,pread64,pwrite64,readv,writev,ftruncate"
SYSTEM_PREFIXES = ("/usr/lib/", "/lib/", "/lib64/", "/etc/ld.so.cache", "/proc/self/", "/dev/null",
                   "/usr/share/locale/", "/etc/localtime")

BYSTANDER = b"2711_7\x01Box.mb\\Work\\\x01?00000001\x01<other@example.com>\x01Box.mb\\Work\\?00000002"
QUOTED = re.compile(rb'"((?:[^"\\]|\\.)*)"')
FD_PATH = re.compile(rb'(?:^|[(, ])(-?\d+|AT_FDCWD)<([^>]*)>')


def unescape(raw):
    out = bytearray()
    i = 0
    while i < len(raw):
        b = raw[i]
        if b != 0x5C:
            out.append(b)
            i += 1
            continue
        nxt = raw[i + 1:i + 2]
        if nxt == b"x":
            out.append(int(raw[i + 2:i + 4], 16))
            i += 4
        elif nxt.isdigit():
            j = i + 1
            while j < len(raw) and j < i + 4 and raw[j:j + 1].isdigit():
                j += 1
            out.append(int(raw[i + 1:j], 8))
            i = j
        else:
            out += {b"n": b"\n", b"r": b"\r", b"t": b"\t", b"v": b"\v", b"f": b"\f"}.get(nxt, nxt)
            i += 2
    return bytes(out)


def parse_trace(path):
    """[(call, line, frames)] in order."""
    records = []
    with open(path, "rb") as f:
        for line in f:
            if line.startswith(b" > "):
                if records:
                    records[-1][2].append(line[3:].strip())
                continue
            m = re.match(rb"^\d+ +([a-z0-9_]+)\(", line)
            if m:
                records.append((m.group(1).decode(), line.rstrip(b"\n"), []))
    return records


def paths_of(call, line, cwd):
    """The absolute paths a traced call names (bytes)."""
    args = line[line.index(b"(") + 1:]
    result = []
    if call in FD_CALLS:
        m = FD_PATH.search(b"(" + args)
        if m:
            result.append(m.group(2))
        return result
    if call in NO_PATH:
        return result
    strings = [unescape(s) for s in QUOTED.findall(args.split(b") = ")[0] if b") = " in args else args)]
    strings = strings[:2] if call in TWO_PATHS else strings[:1]
    dirs = FD_PATH.findall(b"(" + args)
    base = dirs[0][1] if dirs else cwd
    for s in strings:
        if s == b"" and dirs:
            result.append(dirs[0][1])
        elif s:
            result.append(s if s.startswith(b"/") else base + b"/" + s)
    return [os.path.normpath(p) for p in result]


def inside(path, folder):
    return path == folder or path.startswith(folder.rstrip(b"/") + b"/")


def check_trace(trace, work, plugin_name):
    """Every path any call names after the plug-in was loaded, held to the
    allowed set. Returns (problems, calls after the load, calls by the plug-in
    as the stacks tell, or None without stacks)."""
    cwd = os.fsencode(work)
    store = os.path.join(cwd, b"st")
    # The plug-in's settings file and link index, the temporaries it writes
    # them through (renamed over them) and their folder, opened to make the
    # rename durable.
    own = set()
    for name in (b"lumo.ini", b"lumo.idx"):
        own |= {os.path.join(cwd, name), os.path.join(cwd, name + b".tmp")}
    mail = os.path.join(cwd, b"mail.eml")
    host_fds = {os.path.join(cwd, b"road.lhs"), os.path.join(cwd, b"out.txt"), mail,
                os.path.join(cwd, plugin_name)}
    ancestors = set()
    folder = cwd
    while folder not in (b"/", b""):
        ancestors.add(folder)
        folder = os.path.dirname(folder)
    problems = []
    loaded = False
    calls = 0
    by_plugin = 0
    mail_opens = 0
    stacks = False
    for call, line, frames in parse_trace(trace):
        paths = paths_of(call, line, cwd)
        if not loaded:
            loaded = any(p.endswith(b"/" + plugin_name) for p in paths) and call.startswith("open")
            continue
        stacks = stacks or bool(frames)
        plugin_frame = any(re.match(rb"^\S*/" + re.escape(plugin_name) + rb"\(", fr) for fr in frames)
        for p in paths:
            calls += 1
            by_plugin += plugin_frame
            if inside(p, store) or p in own or (p == cwd and call.startswith("open")):
                continue
            # The host's own: the script, its output and the plug-in's library
            # (descriptors opened before or by the load; the loader reads the
            # library after opening it), the mail file (opened once, by
            # retrieve-file),
            # the sanitizer runtime's pipes, and realpath's look at each folder
            # above the run.
            if (call in FD_CALLS or call in ("fstat", "newfstatat")) and (p in host_fds or p.startswith(b"pipe:")):
                continue
            if p == mail and call.startswith("open"):
                mail_opens += 1
                continue
            if call == "readlink" and p in ancestors:
                continue
            problems.append("%s%s %s" % ("plug-in: " if plugin_frame else "", call, p.decode(errors="replace")))
    if not loaded:
        problems.append("the trace never shows the plug-in loaded")
    if loaded and mail_opens != 1:
        problems.append("mail.eml opened %d times after the load; the host opens it once" % mail_opens)
    if stacks and not by_plugin:
        problems.append("no call with a frame of the plug-in: the stacks do not show it")
    return problems, calls, by_plugin if stacks else None


def header_value(source, name):
    head = source.split(b"\r\n\r\n", 1)[0]
    for line in head.split(b"\r\n"):
        if line.lower().startswith(name.lower() + b":"):
            return line[len(name) + 1:].strip(b" \t")
    return None


def check_index(work):
    store = os.path.join(work, "st")
    path = os.path.join(work, "lumo.idx")
    if not os.path.exists(path):
        return ["no link index"]
    data = open(path, "rb").read()
    problems = []
    if data and not data.endswith(b"\r\n"):
        problems.append("the last line has no CR LF")
    lines = data.split(b"\r\n")
    # The bystander's link: no step of the road moves or deletes it or its
    # shortcut, so no mail may disturb it.
    if BYSTANDER not in lines:
        problems.append("the bystander's link is gone or changed")
    seen = set()
    for n, line in enumerate(data.split(b"\r\n")[:-1] if data.endswith(b"\r\n") else data.split(b"\r\n"), 1):
        where = "line %d" % n
        if b"\n" in line or b"\r" in line:
            problems.append(where + ": a stray CR or LF")
        if len(line) > 511:
            problems.append(where + ": %d bytes" % len(line))
        fields = line.split(b"\x01", 4)
        if len(fields) < 5:
            problems.append(where + ": %d fields" % len(fields))
            continue
        sid, location = fields[0], fields[4]
        if not re.fullmatch(rb"[0-9a-f]+_[0-9]+", sid):
            problems.append(where + ": shortcut id %r" % sid)
        if sid in seen:
            problems.append(where + ": shortcut id %r twice" % sid)
        seen.add(sid)
        folder, _, key = location.partition(b"?")
        folder_path = os.path.normpath(os.path.join(os.fsencode(store), folder.replace(b"\\", b"/")))
        if not location or not inside(folder_path, os.fsencode(store)) or not os.path.isdir(folder_path):
            problems.append(where + ": location %r names no folder of the store" % location)
            continue
        files = [os.path.join(folder_path, key + b".eml")] if key else \
            [os.path.join(folder_path, f) for f in os.listdir(folder_path) if f.endswith(b".eml")]
        if not any(os.path.isfile(f) and header_value(open(f, "rb").read(), b"X-LuMOID") == sid for f in files):
            problems.append(where + ": location %r holds no shortcut %r" % (location, sid))
    return problems


def escaped(data):
    return "".join("\\x%02x" % b for b in data)


def cases(work):
    generated = os.path.join(work, "generated")
    make_large.main_into(generated)
    found = {}
    for folder in (os.path.join(HERE, "mails"), generated):
        for f in sorted(os.listdir(folder)):
            if f.endswith(".eml"):
                found[f[:-4]] = os.path.join(folder, f)
    return found


def run_case(name, mail, args, road):
    work = os.path.join(os.path.abspath(args.work), name)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    plugin = os.path.join(work, os.path.basename(args.plugin))
    shutil.copy(args.plugin, plugin)
    shutil.copy(mail, os.path.join(work, "mail.eml"))
    idx = mail[:-4] + ".idx"
    idx_bytes = open(idx, "rb").read() if os.path.exists(idx) else b""
    with open(os.path.join(work, "road.lhs"), "w", encoding="utf-8") as f:
        f.write(road.replace("@IDX@", escaped(idx_bytes)))
    command = [args.host, "--store", "st", "road.lhs"]
    env = dict(os.environ)
    if not args.no_trace:
        # LeakSanitizer cannot stop a process that is already traced.
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        command = ["strace", "-f"] + (["-k"] if args.stacks else []) + ["-y", "-qq", "-s", "65536", "-e", "trace=" + TRACED,
                   "-o", "trace.txt"] + command
    started = time.monotonic()
    problems = []
    with open(os.path.join(work, "out.txt"), "wb") as out:
        proc = subprocess.Popen(command, cwd=work, stdout=out, stderr=subprocess.STDOUT, env=env,
                                start_new_session=True)
        try:
            status = proc.wait(timeout=args.timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
            status = None
            problems.append("hung: no end within %d s" % args.timeout)
    seconds = time.monotonic() - started
    output = open(os.path.join(work, "out.txt"), "rb").read().decode("utf-8", "replace")
    failed_lines = len(re.findall(r"^road\.lhs:\d+: error:", output, re.M))
    if status is not None and status not in (0, 1):
        problems.append("ended with status %d (crash or sanitizer report)" % status)
    if "Sanitizer" in output or "runtime error:" in output:
        problems.append("a sanitizer report")
    if name == "plain" and status != 0:
        problems.append("the control mail failed a line: the road itself is broken")
    if status in (0, 1):
        problems += ["link index: " + p for p in check_index(work)]
    traced = (0, None)
    if not args.no_trace and status is not None:
        trace_problems, *traced = check_trace(os.path.join(work, "trace.txt"), work,
                                                   os.fsencode(os.path.basename(args.plugin)))
        problems += ["file: " + p for p in trace_problems]
    return problems, seconds, failed_lines, traced, output


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--plugin", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--timeout", type=int, default=60)
    parser.add_argument("--no-trace", action="store_true")
    parser.add_argument("--stacks", action="store_true")
    parser.add_argument("names", nargs="*")
    args = parser.parse_args()
    args.host, args.plugin = os.path.abspath(args.host), os.path.abspath(args.plugin)
    if not args.no_trace and not shutil.which("strace"):
        print("strace is missing (scripts/deps.sh test installs it)")
        return 1
    road = open(os.path.join(HERE, "road.lhs"), encoding="utf-8").read()
    all_cases = cases(os.path.abspath(args.work))
    names = args.names or sorted(all_cases)
    bad = 0
    total = time.monotonic()
    for name in names:
        problems, seconds, failed, (calls, by_plugin), output = run_case(name, all_cases[name], args, road)
        print("%-24s %6.1f s  %2d failed lines  %5d file calls after the load%s  %s" %
              (name, seconds, failed, calls, "" if by_plugin is None else " (%d by the plug-in)" % by_plugin,
               "ok" if not problems else "FAULT"))
        for p in problems:
            print("    " + p)
        if problems:
            bad += 1
            print("    --- output tail ---\n" + "\n".join("    " + l for l in output.splitlines()[-15:]))
    print("%d mails, %d with faults, %.1f s" % (len(names), bad, time.monotonic() - total))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
