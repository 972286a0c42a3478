#!/usr/bin/env python3
"""The large members of the hostile corpus, made at test time rather than kept
in the repository: NAME.eml (and NAME.idx, bytes for every Folder.idx) in the
folder given.

    make_large.py OUTDIR        (run_corpus.py calls main_into(OUTDIR))
"""
import os
import sys

CRLF = b"\r\n"


def header(*lines):
    return CRLF.join(lines) + CRLF + CRLF


def nested_multipart(levels=10000):
    # Every part a multipart holding the next one: a tree as deep as the mail.
    out = [header(b"From: sender@example.com", b"Subject: Nested multiparts",
                  b"Message-ID: <nested@example.com>", b"MIME-Version: 1.0",
                  b'Content-Type: multipart/mixed; boundary="b0"')]
    for level in range(1, levels):
        out.append(b"--b%d\r\nContent-Type: multipart/mixed; boundary=\"b%d\"\r\n\r\n" % (level - 1, level))
    out.append(b"--b%d\r\nContent-Type: text/plain\r\n\r\nHostile corpus.\r\n" % (levels - 1))
    for level in range(levels - 1, -1, -1):
        out.append(b"--b%d--\r\n" % level)
    return b"".join(out)


def nested_unclosed(levels=10000):
    # The same depth, no boundary ever closed and no final line end.
    out = [header(b"From: sender@example.com", b"Subject: Nested, never closed",
                  b"Message-ID: <unclosed@example.com>", b'Content-Type: multipart/mixed; boundary="x"')]
    out.append(b"--x\r\nContent-Type: multipart/mixed; boundary=\"x\"\r\n\r\n" * levels)
    out.append(b"Hostile corpus.")
    return b"".join(out)


def huge_header_line(size=4 << 20):
    # One header line of 4 MB (code page 932 pairs among ASCII, no blank),
    # and a Subject of 64 KB, which the host's index line carries.
    return header(b"From: sender@example.com", b"Subject: " + b"\x82\xa0S" * ((64 << 10) // 3),
                  b"Message-ID: <huge@example.com>", b"X-Huge: " + b"\x82\xa0A" * (size // 3)) + \
        b"Hostile corpus.\r\n"


def many_header_lines(count=200000):
    # A folded References field of 200,000 lines: the tree's line lists.
    return header(b"From: sender@example.com", b"Subject: Many header lines",
                  b"Message-ID: <many@example.com>", b"References: " + b"<r@x>\r\n\t" * count) + \
        b"Hostile corpus.\r\n"


def huge_message_id(size=256 << 10):
    # A Message-ID of 256 KB with its "@" near the end, a X-LuMOID and a
    # X-MailID of a megabyte.
    return header(b"From: sender@example.com", b"Subject: Huge Message-ID",
                  b"Message-ID: <" + b"m" * size + b"@example.com>",
                  b"X-LuMOID: " + b"1" * (1 << 20) + b"_7",
                  b"X-MailID: Box.mb\\Work\\?" + b"0" * (1 << 20)) + b"Hostile corpus.\r\n"


def idx_long_lines():
    # Index lines of thousands of bytes holding the Message-IDs the plug-in
    # looks for (the mail's and its shortcuts' 2712_5 and 2713_5), some with
    # every field, some with none, then a tail of zeros as a crash leaves it.
    mail = header(b"From: sender@example.com", b"Subject: Folder.idx with long lines",
                  b"Message-ID: <idxlong@example.com>", b'Content-Type: text/plain; charset="US-ASCII"') + \
        b"Hostile corpus.\r\n"
    ids = b"<idxlong@2712_5.LuMO.example.com> <idxlong@example.com> <idxlong@2713_5.LuMO.example.com>"
    lines = []
    for size in (2000, 5000, 20000, 70000):
        lines.append(b"0\x01" + b"Z" * size + b"\x01" + ids + b"\x01" * 12 + b"0\x01")
        lines.append(b"\x82" * size + ids)
        lines.append(b"0\x01\x01" + ids + b"\x01" + b"\x01" * size)
    return mail, CRLF.join(lines) + CRLF


def idx_zero_tail():
    mail = header(b"From: sender@example.com", b"Subject: Folder.idx with a zero tail",
                  b"Message-ID: <zero@example.com>") + b"Hostile corpus.\r\n"
    return mail, b"0\x01zz\x01<zero@2712_4.LuMO.example.com>\x01" + b"\x00" * 65536


def main_into(out):
    os.makedirs(out, exist_ok=True)
    for name, make in (("nested_multipart", nested_multipart), ("nested_unclosed", nested_unclosed),
                       ("huge_header_line", huge_header_line), ("many_header_lines", many_header_lines),
                       ("huge_message_id", huge_message_id)):
        with open(os.path.join(out, name + ".eml"), "wb") as f:
            f.write(make())
    for name, make in (("idx_long_lines", idx_long_lines), ("idx_zero_tail", idx_zero_tail)):
        mail, idx = make()
        with open(os.path.join(out, name + ".eml"), "wb") as f:
            f.write(mail)
        with open(os.path.join(out, name + ".idx"), "wb") as f:
            f.write(idx)


if __name__ == "__main__":
    main_into(sys.argv[1])
