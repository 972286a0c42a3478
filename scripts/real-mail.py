#!/usr/bin/env python3
"""Real mail, end to end: a few hundred mails of Debian's public mail corpora
go through lumo-host as a user's month would, and after every phase the link
index, every shortcut and every target are checked against the store.

    scripts/real-mail.py --host H --plugin P --corpora DIR --work DIR

DIR of --corpora holds the unpacked packages (scripts/real-mail.sh fetches
them). Exit status 0 when every phase and check passed, 1 on the first fault,
2 when the corpora are missing.
"""

import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time

# Where each package keeps its mails, and how many of them to take: the first
# N files in name order (None: all), so the choice is the same on every
# machine. Of the SpamAssassin ham a run of consecutive files keeps its
# threads (36 of them, 86 mails, in the first 200).
CORPORA = [
    ("libpython3.11-testsuite", "usr/lib/python3.11/test/test_email/data", r"^msg_\d+\.txt$", None),
    ("golang-github-gatherstars-com-jwz-dev",
     "usr/share/gocode/src/github.com/gatherstars-com/jwz/test/testdata/ham", r"\.eml$", 200),
    ("golang-github-jhillyerd-enmime-dev", "usr/share/gocode/src/github.com/jhillyerd/enmime/testdata",
     r"\.raw$", None),
    ("python3-flufl.bounce", "usr/lib/python3/dist-packages/flufl/bounce/tests/data", r"\.txt$", None),
    ("python3-django-hyperkitty", "usr/lib/python3/dist-packages/hyperkitty/tests/testdata", r"\.txt$", None),
]

BOX = "Box.mb\\"
INBOX = BOX + "!!!!Inbox\\"
TRASH = BOX + "!Trash\\"
SHORTCUTS = BOX + "Shortcuts\\"  # made by the menu and by the export
LINKS = BOX + "Links\\"  # made on retrieval
ARCHIVE = BOX + "Archive\\"  # targets dragged without their thread
THREADS = BOX + "Threads\\"  # targets dragged with their thread
KEPT = BOX + "Kept\\"  # shortcuts dragged
FOLDERS = [(BOX, "Box"), (INBOX, "Inbox"), (TRASH, "Trash"), (SHORTCUTS, "Shortcuts"), (LINKS, "Links"),
           (ARCHIVE, "Archive"), (THREADS, "Threads"), (KEPT, "Kept")]
MENU_CREATE = "ショートカットの作成"
MEMO_ADD = "MEMOを追加"
MENU_JUMP = "リンク先のメールを表示"
MENU_FIND = "参照先の検索"
ROW = "%-9s mails %4d  shortcuts %4d  index lines %4d  checks %6d  host %6.2f s  check %5.2f s"
ID_RE = re.compile(rb"^[0-9a-f]+_[0-9]+$")


class Fault(Exception):
    pass


# ---------------------------------------------------------------- mails


def split_mbox(data):
    """The messages of a file: an mbox's "From " lines start a message and
    are dropped, as a mail client stores what it received without them."""
    lines = data.split(b"\n")
    messages, current, blank = [], [], True
    for line in lines:
        if line.startswith(b"From ") and blank:
            if current:
                messages.append(current)
            current = []
            blank = False
            continue
        current.append(line)
        blank = line.strip(b"\r") == b""
    if current:
        messages.append(current)
    return [b"\n".join(m) for m in messages if b"".join(m).strip()]


def stored_form(message):
    """CR LF line ends, as the store keeps every mail."""
    text = message.replace(b"\r\n", b"\n").replace(b"\r", b"\n").rstrip(b"\n") + b"\n"
    return text.replace(b"\n", b"\r\n")


def header_block(source):
    end = source.find(b"\r\n\r\n")
    return source[: end + 2] if end >= 0 else source


def header_values(source, name):
    """Every value of a header field, unfolded, in order."""
    values, current = [], None
    for line in header_block(source).split(b"\r\n"):
        if line[:1] in (b" ", b"\t") and current is not None:
            current += b" " + line.strip()
            continue
        if current is not None:
            values.append(current.strip())
            current = None
        colon = line.find(b":")
        if colon > 0 and line[:colon].strip().lower() == name.lower():
            current = line[colon + 1:].strip()
    if current is not None:
        values.append(current.strip())
    return values


def header(source, name):
    values = header_values(source, name)
    return values[-1] if values else None


def has_parts(source):
    """Whether a MEMO can be shown with this target: a multipart mail without
    a single part of its own has no last part for the MEMO to follow, and is
    shown as it is."""
    ctype = header(source, b"Content-Type") or b""
    if not ctype.lower().startswith(b"multipart"):
        return True
    found = re.search(rb'boundary\s*=\s*(?:"([^"]*)"|([^;\s]+))', ctype, re.I)
    if not found:
        return True
    boundary = found.group(1) if found.group(1) is not None else found.group(2)
    body = source[len(header_block(source)):]
    for line in body.split(b"\r\n"):
        if line.startswith(b"--" + boundary) and not line.startswith(b"--" + boundary + b"--"):
            return True
    return False


def select_mails(corpora):
    mails = []  # (package, file name, stored bytes)
    counts = {}
    for package, folder, pattern, first in CORPORA:
        root = os.path.join(corpora, folder)
        if not os.path.isdir(root):
            raise FileNotFoundError(root)
        files = []
        for base, _, names in os.walk(root):
            files += [os.path.join(base, n) for n in names if re.search(pattern, n)]
        files.sort()
        taken = 0
        for path in files[:first]:
            with open(path, "rb") as f:
                data = f.read()
            for message in split_mbox(data):
                if b"\0" in message:
                    continue  # the host keeps a mail as a C string
                mails.append((package, os.path.relpath(path, root), stored_form(message)))
                taken += 1
        counts[package] = (len(files), taken)
    return mails, counts


def threads_of(ids, mails):
    """Groups of mail indexes joined by In-Reply-To or References among the
    given ones, each in index order, in order of their first mail."""
    by_id = {}
    for i in ids:
        mid = header(mails[i], b"Message-ID")
        if mid:
            by_id.setdefault(mid, i)
    parent = {i: i for i in ids}

    def root(i):
        while parent[i] != i:
            parent[i] = parent[parent[i]]
            i = parent[i]
        return i

    for i in ids:
        refs = b" ".join(header_values(mails[i], b"In-Reply-To") + header_values(mails[i], b"References"))
        for ref in re.findall(rb"<[^<>\s]+>", refs):
            j = by_id.get(ref)
            if j is not None and j != i:
                parent[root(i)] = root(j)
    groups = {}
    for i in ids:
        groups.setdefault(root(i), []).append(i)
    return sorted(groups.values(), key=lambda g: g[0])


# ---------------------------------------------------------------- the store


class Store:
    """The substitute host's store as it stands on disk."""

    def __init__(self, data):
        self.data = data
        self.mails = {}  # mail id -> bytes
        self.folder_of = {}
        for base, dirs, names in os.walk(data):
            dirs.sort()
            if "Folder.idx" not in names:
                continue
            rel = os.path.relpath(base, data)
            folder = "" if rel == "." else rel.replace("/", "\\") + "\\"
            with open(os.path.join(base, "Folder.idx"), "rb") as f:
                for line in f.read().split(b"\r\n"):
                    fields = line.split(b"\x01")
                    if len(fields) < 2 or not fields[1]:
                        continue
                    key = fields[1].decode()
                    with open(os.path.join(base, key + ".eml"), "rb") as m:
                        mail_id = folder + "?" + key
                        self.mails[mail_id] = m.read()
                        self.folder_of[mail_id] = folder

    def shortcuts(self):
        """Shortcut id -> mail id of every shortcut mail outside the trash."""
        found = {}
        for mail_id, source in self.mails.items():
            sid = header(source, b"X-LuMOID")
            if sid is None or self.folder_of[mail_id] == TRASH:
                continue
            if sid in found:
                raise Fault("two shortcut mails carry %s: %s and %s" % (sid.decode(), found[sid], mail_id))
            found[sid] = mail_id
        return found


class Checker:
    def __init__(self, work, mails):
        self.work = work
        self.mails = mails
        self.hashes = [hashlib.sha256(m).digest() for m in mails]
        self.index_of = {}
        for i, h in enumerate(self.hashes):
            self.index_of.setdefault(h, i)
        self.count = 0

    def ok(self, condition, text):
        self.count += 1
        if not condition:
            raise Fault(text)

    def findable(self, target):
        """Whether the shortcut of this target gets a Message-ID of its own."""
        return b"@" in (header(self.mails[target], b"Message-ID") or b"")

    def targets(self, store):
        """Target index -> mail id, for every corpus mail in the store."""
        where = {}
        for mail_id, source in store.mails.items():
            i = self.index_of.get(hashlib.sha256(source).digest())
            if i is not None:
                where.setdefault(i, []).append(mail_id)
        return where

    def check(self, store, expected_targets, links, exact):
        """The link index against the store. `links`: shortcut id -> target
        index, the links that must be there and no other; `exact`: every
        line names its target's mail id and its shortcut's mail id (else a
        dragged target may be recorded by its folder, a dragged shortcut by
        its folder, until they are opened again)."""
        path = os.path.join(self.work, "lumo.idx")
        data = open(path, "rb").read() if os.path.exists(path) else b""
        self.ok(data == b"" or data.endswith(b"\r\n"), "the link index does not end with CR LF")
        where = self.targets(store)
        # Every target, byte for byte, once in the store.
        for i in expected_targets:
            self.ok(len(where.get(i, [])) == 1,
                    "target %d is in the store %d times, unchanged" % (i, len(where.get(i, []))))
        shortcuts = store.shortcuts()
        seen = set()
        for number, line in enumerate(data.split(b"\r\n")[:-1], 1):
            at = "lumo.idx line %d (%r): " % (number, line[:120])
            fields = line.split(b"\x01", 4)
            self.ok(len(fields) == 5 and b"\n" not in line and b"\r" not in line, at + "does not parse")
            sid, folder, rest, message_id, location = fields
            self.ok(ID_RE.match(sid) is not None, at + "its shortcut id is malformed")
            self.ok(sid not in seen, at + "a second line of the same id")
            seen.add(sid)
            key = sid.decode()
            self.ok(key in links, at + "a link that should not be there")
            target = links[key]
            folder_id = folder.decode("cp932")
            self.ok(folder_id.endswith("\\"), at + "its folder is no folder id")
            recorded = folder_id + rest.decode("cp932") if rest[:1] == b"?" else rest.decode("cp932") or folder_id
            here = where[target][0]
            self.ok(message_id == (header(self.mails[target], b"Message-ID") or b""),
                    at + "its Message-ID is not its target's")
            if recorded == here:
                self.ok(store.mails[here] == self.mails[target], at + "its target changed")
            else:
                self.ok(not exact, at + "its target is at %s, recorded %s" % (here, recorded))
                self.ok(store.folder_of[here] == folder_id, at + "its target is not in the recorded folder")
            self.ok(sid in shortcuts, at + "its shortcut mail is gone")
            loc = location.decode("cp932")
            if "?" in loc or exact:
                self.ok(loc == shortcuts[sid], at + "its shortcut is at %s" % shortcuts[sid])
            else:
                self.ok(loc in ("", store.folder_of[shortcuts[sid]]), at + "its shortcut is not in " + loc)
            source = store.mails[shortcuts[sid]]
            self.ok(header(source, b"X-MailID") is not None, at + "its shortcut has no X-MailID")
            if exact:
                self.ok(header(source, b"X-MailID").decode("cp932") == here,
                        at + "its shortcut's X-MailID is not its target's mail id")
        # A target without a Message-ID (or one without "@") gives its
        # shortcut none: such a shortcut cannot be looked up, so its line has
        # no location until the shortcut is opened, and a cleanup drops it
        # until then.
        missing = sorted(s for s in set(links) - {s.decode() for s in seen} if self.findable(links[s]))
        self.ok(not missing, "links without a line: %s" % ", ".join(missing[:10]))
        extra = sorted(s.decode() for s in set(shortcuts) - seen
                       if s.decode() not in links or self.findable(links[s.decode()]))
        self.ok(not extra, "shortcut mails without a line: %s" % ", ".join(extra[:10]))
        return len(data.split(b"\r\n")) - 1


# ---------------------------------------------------------------- the month


class Month:
    def __init__(self, args):
        self.args = args
        self.work = os.path.abspath(args.work)
        self.phases = []
        self.day = 0

    def run_day(self, name, lines, load=True):
        """One day: lumo-host runs the lines (the plug-in loaded and started
        first, closed at the end); a failed line is a fault."""
        script = ["store store"]
        if load:
            script += ["load ./lumo.so", "start"]
        script += lines
        if load:
            script += ["expect queues-empty", "exit", "unload"]
        name = "day%02d-%s" % (self.day, name)
        self.day += 1
        path = os.path.join(self.work, name + ".lhs")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(script) + "\n")
        started = time.monotonic()
        run = subprocess.run([self.args.host, path], cwd=self.work, capture_output=True)
        seconds = time.monotonic() - started
        with open(os.path.join(self.work, name + ".out"), "wb") as f:
            f.write(run.stdout + run.stderr)
        if run.returncode != 0:
            tail = (run.stdout + run.stderr).decode("utf-8", "replace").strip().splitlines()[-6:]
            raise Fault("lumo-host failed on %s.lhs:\n  %s" % (name, "\n  ".join(tail)))
        return run.stdout.decode("utf-8", "replace"), seconds, sum(1 for l in lines if l.startswith("expect"))

    def phase(self, name, mails, lines, links, exact, load=True):
        out, seconds, expects = self.run_day(name, lines, load)
        started = time.monotonic()
        before = self.checker.count
        store = Store(os.path.join(self.work, "store"))
        index_lines = self.checker.check(store, self.targets, links, exact)
        checked = time.monotonic() - started
        row = (name, mails, len(store.shortcuts()), index_lines, expects + self.checker.count - before, seconds,
               checked)
        self.phases.append(row)
        print(ROW % row, flush=True)
        return out, store

    def run(self):
        mails, counts = select_mails(self.args.corpora)
        self.mails = [m for _, _, m in mails]
        for package, (files, taken) in counts.items():
            print("corpus %-38s %5d files, %4d mails taken" % (package, files, taken))
        if os.path.isdir(self.work):
            shutil.rmtree(self.work)
        os.makedirs(os.path.join(self.work, "mails"))
        shutil.copy(self.args.plugin, os.path.join(self.work, "lumo.so"))
        names = []
        for i, m in enumerate(self.mails):
            name = "mails/%04d.eml" % i
            with open(os.path.join(self.work, name), "wb") as f:
                f.write(m)
            names.append(name)
        # No start and end confirmations; retrieved mails get shortcuts in Links.
        with open(os.path.join(self.work, "lumo.ini"), "wb") as f:
            f.write(b"[Settings]\r\nMsgSt=1\r\nRetFolder=1\r\nRetSC-Path=" + LINKS.encode() + b"\r\n")
        self.checker = Checker(self.work, self.mails)
        n = len(self.mails)
        by_menu = [i for i in range(n) if i % 3 == 0]
        by_retrieval = [i for i in range(n) if i % 3 == 1]
        by_export = [i for i in range(n) if i % 3 == 2]
        self.targets = []
        links = {}

        # The store: the mails already in the inbox.
        lines = ["folder %s %s" % (f, name) for f, name in FOLDERS]
        lines += ["mail-file %s %s" % (INBOX, names[i]) for i in by_menu + by_export]
        out, seconds, expects = self.run_day("store", lines, load=False)
        mail_id = dict(zip(by_menu + by_export, re.findall(r"^mail (\S+)$", out, re.M)))
        self.targets = by_menu + by_export
        self.check_only("store", n, Store(os.path.join(self.work, "store")), links, seconds, expects)

        def made(store, indexes, folder):
            """The shortcuts of `indexes` in `folder`, found by X-MailID."""
            shortcuts = store.shortcuts()
            by_target = {}
            for sid, sc in shortcuts.items():
                if store.folder_of[sc] == folder:
                    by_target.setdefault(header(store.mails[sc], b"X-MailID").decode("cp932"), []).append(sid)
            for i in indexes:
                sids = by_target.get(mail_id[i], [])
                self.checker.ok(len(sids) == 1, "mail %d (%s) has %d shortcuts" % (i, mail_id[i], len(sids)))
                links[sids[0].decode()] = i

        # Day 1: shortcuts from the mail-list menu, eight mails at a time.
        lines = []
        for at in range(0, len(by_menu), 8):
            batch = by_menu[at:at + 8]
            lines += ["open-folder " + INBOX, "open-mail " + mail_id[batch[0]],
                      "select " + " ".join(mail_id[i] for i in batch), "choose 1 " + MENU_CREATE,
                      "answer OK", "open-folder " + SHORTCUTS, "expect mails %s %d" % (SHORTCUTS, at + len(batch))]
        # The phase's links are known only from the store: check after.
        out, seconds, expects = self.run_day("menu", lines)
        store = Store(os.path.join(self.work, "store"))
        made(store, by_menu, SHORTCUTS)
        self.check_only("menu", len(by_menu), store, links, seconds, expects)

        # Day 2: mails arrive; each gets its shortcut on retrieval.
        lines = []
        for k, i in enumerate(by_retrieval):
            lines += ["retrieve-file %s %s" % (INBOX, names[i]), "expect mails %s %d" % (LINKS, k + 1)]
        out, seconds, expects = self.run_day("retrieve", lines)
        for i, mid in zip(by_retrieval, re.findall(r"^retrieved (\S+)$", out, re.M)):
            mail_id[i] = mid
        self.targets += by_retrieval
        store = Store(os.path.join(self.work, "store"))
        made(store, by_retrieval, LINKS)
        self.check_only("retrieve", len(by_retrieval), store, links, seconds, expects)

        # Day 3: another program calls the export.
        lines = []
        for i in by_export:
            lines += ["make-shortcut %s %s" % (mail_id[i], SHORTCUTS), "expect result 1"]
        out, seconds, expects = self.run_day("export", lines)
        store = Store(os.path.join(self.work, "store"))
        made(store, by_export, SHORTCUTS)
        self.check_only("export", len(by_export), store, links, seconds, expects)

        shortcuts = store.shortcuts()
        target_of = dict(links)
        order = sorted(links, key=lambda s: target_of[s])
        where = lambda store, sid: store.shortcuts()[sid.encode()]

        # Day 4: every shortcut opened shows its target, byte for byte.
        lines = []
        for sid in order:
            lines += ["open-mail " + shortcuts[sid.encode()], "expect shown-source " + mail_id[target_of[sid]]]
        _, store = self.phase("open", n, lines, links, True)

        # Day 5: a MEMO on every shortcut.
        lines = []
        for sid in order:
            sc = where(store, sid)
            lines += ["open-mail " + sc, "dialog text 1004 \"MEMO %s 覚え書き\"" % sid, "dialog ok",
                      "choose 1 " + MEMO_ADD, "expect header %s X-MEMO ON" % sc]
        _, store = self.phase("memo", n, lines, links, True)

        # Day 6: dragging. Mails with no Message-ID, or one shared with another
        # mail, cannot be followed by any link and stay where they are.
        ids = {}
        for i in range(n):
            mid = header(self.mails[i], b"Message-ID")
            ids.setdefault(mid, []).append(i)
        movable = [i for i in range(n) if header(self.mails[i], b"Message-ID") and
                   len(ids[header(self.mails[i], b"Message-ID")]) == 1]
        self.unmoved = n - len(movable)
        sc_of = {i: s for s, i in target_of.items()}
        lines, dragged, with_thread, without = [], 0, 0, 0
        singles = []
        for t, thread in enumerate(threads_of(movable, self.mails)):
            if len(thread) == 1:
                singles += thread
            elif t % 2 == 0:
                lines.append("drop %s 2 %s" % (THREADS, " ".join(mail_id[i] for i in thread)))
                with_thread += len(thread)
            else:
                lines.append("drop %s 2 %s" % (ARCHIVE, mail_id[thread[0]]))
                without += 1
        for g, at in enumerate(range(0, len(singles), 4)):
            group = singles[at:at + 4]
            words = [mail_id[i] for i in group]
            if g % 2 == 0:  # a target dragged with its shortcut
                words.append(where(store, sc_of[group[0]]))
            lines.append("drop %s 2 %s" % (ARCHIVE, " ".join(words)))
            without += len(group)
        moved = set(w for l in lines for w in l.split()[3:])
        kept = 0
        for k, sid in enumerate(order):
            sc = where(store, sid)
            if k % 3 == 0 and sc not in moved:
                lines.append("drop %s 2 %s" % (KEPT, sc))
                kept += 1
        self.drag_figures = (with_thread, without, kept, self.unmoved)
        _, store = self.phase("drag", with_thread + without, lines, links, False)

        # Day 7: every shortcut opened again shows its MEMO and its target;
        # the links now name where everything is.
        lines = []
        for sid in order:
            lines.append("open-mail " + where(store, sid))
            if has_parts(self.mails[target_of[sid]]):
                lines.append("expect shown-contains \"MEMO %s 覚え書き\"" % sid)
            else:
                lines.append("expect shown-source " + mail_id[target_of[sid]])
        _, store = self.phase("reopen", n, lines, links, True)
        # What opening showed: the target where it is now.
        for sid in order:
            sc = where(store, sid)
            self.checker.ok(header(store.mails[sc], b"X-MEMO") == b"ON", "%s lost its MEMO mark" % sc)

        # Day 8: from every shortcut to its target and back, by the menu.
        lines = []
        targets_now = self.checker.targets(store)
        for sid in order:
            sc = where(store, sid)
            lines += ["open-mail " + sc, "choose 1 " + MENU_JUMP,
                      "expect mail " + targets_now[target_of[sid]][0], "choose 1 " + MENU_FIND, "expect mail " + sc]
        _, store = self.phase("jump", n, lines, links, True)

        # Day 9: every second shortcut deleted with the host's Delete, then
        # from the trash.
        gone = order[1::2]
        lines = []
        by_folder = {}
        for sid in gone:
            sc = where(store, sid)
            by_folder.setdefault(store.folder_of[sc], []).append(sc)
        for folder, scs in sorted(by_folder.items()):
            lines += ["open-folder " + folder, "select " + " ".join(scs), "post 32836"]
        lines += ["open-folder " + TRASH, "select " + " ".join("@%d" % (k + 1) for k in range(len(gone))),
                  "post 32836", "expect mails %s 0" % TRASH]
        for sid in gone:
            del links[sid]
        _, store = self.phase("delete", len(gone), lines, links, True)

        # Day 10: B2 runs without the plug-in; every third remaining shortcut
        # is deleted. Their lines wait for the cleanup.
        left = [s for s in order if s in links]
        away = left[::3]
        lines = []
        by_folder = {}
        for sid in away:
            sc = where(store, sid)
            by_folder.setdefault(store.folder_of[sc], []).append(sc)
        for folder, scs in sorted(by_folder.items()):
            lines += ["open-folder " + folder, "select " + " ".join(scs), "post 32836"]
        lines += ["open-folder " + TRASH, "select " + " ".join("@%d" % (k + 1) for k in range(len(away))),
                  "post 32836", "expect mails %s 0" % TRASH]
        index = os.path.join(self.work, "lumo.idx")
        before = open(index, "rb").read()
        out, seconds, expects = self.run_day("away", lines, load=False)
        self.checker.ok(open(index, "rb").read() == before, "the link index changed without the plug-in")
        store = Store(os.path.join(self.work, "store"))
        self.phases.append(("away", len(away), len(store.shortcuts()), before.count(b"\r\n"), expects + 1, seconds,
                            0.0))
        print(ROW % self.phases[-1], flush=True)
        # Day 11: the month's last start and exit; the cleanup is due.
        ini = os.path.join(self.work, "lumo.ini")
        text = open(ini, "rb").read()
        text = re.sub(rb"Lumo-CleanInt=-?\d+", b"Lumo-CleanInt=0", text)
        open(ini, "wb").write(text)
        for sid in away:
            del links[sid]
        _, store = self.phase("cleanup", len(away), [], links, True)
        self.checker.ok(b"Lumo-CleanInt=201\r\n" in open(ini, "rb").read(), "the cleanup did not run at exit")

    def check_only(self, name, count, store, links, seconds, expects):
        started = time.monotonic()
        before = self.checker.count
        lines = self.checker.check(store, self.targets, links, True)
        row = (name, count, len(store.shortcuts()), lines, expects + self.checker.count - before, seconds,
               time.monotonic() - started)
        self.phases.append(row)
        print(ROW % row, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", required=True)
    parser.add_argument("--plugin", required=True)
    parser.add_argument("--corpora", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    args.host = os.path.abspath(args.host)
    args.plugin = os.path.abspath(args.plugin)
    month = Month(args)
    started = time.monotonic()
    try:
        month.run()
    except FileNotFoundError as missing:
        print("real-mail: corpora not unpacked (%s); run scripts/real-mail.sh" % missing)
        return 2
    except Fault as fault:
        print("real-mail: FAULT: %s" % fault)
        return 1
    total = sum(r[4] for r in month.phases)
    print("real-mail: %d mails, %d checks, %d phases passed in %.1f s (dragged: %d with their thread, "
          "%d without, %d shortcuts; %d mails without a Message-ID of their own stay)" %
          ((len(month.mails), total, len(month.phases), time.monotonic() - started) + month.drag_figures))
    return 0


if __name__ == "__main__":
    sys.exit(main())
