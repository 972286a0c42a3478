#!/usr/bin/env python3
"""Packs lumo-<version>-win32.zip as a user receives it: the 32-bit lumo.dll,
the user guide in Japanese and in English (each one HTML file with its dialog
pictures inside), the change log and the licence.

The same inputs give the same bytes: entries in a fixed order, each dated
SOURCE_DATE_EPOCH (or else the last commit's date), with fixed permissions.

Usage: make-zip.py VERSION LUMO_DLL OUT_ZIP
"""
import base64
import os
import re
import subprocess
import sys
import time
import zipfile

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def source_epoch():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", TOP, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout.strip()
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return 1767225600  # 2026-01-01, where there is no git checkout


def guide(name):
    """The guide's HTML with each picture of docs/images/ put inside it."""
    path = os.path.join(TOP, "docs", "guide", name)
    with open(path, encoding="utf-8") as f:
        html = f.read()

    def inline(match):
        with open(os.path.join(TOP, "docs", "images", match.group(1)), "rb") as f:
            data = base64.b64encode(f.read()).decode("ascii")
        return 'src="data:image/png;base64,' + data + '"'

    html = re.sub(r'src="\.\./images/([A-Za-z0-9_-]+\.png)"', inline, html)
    return html.encode("utf-8")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    version, dll, out = sys.argv[1:]
    folder = "lumo-%s/" % version
    entries = [
        ("lumo.dll", read(dll)),
        ("guide-ja.html", guide("guide-ja.html")),
        ("guide-en.html", guide("guide-en.html")),
        ("CHANGELOG.md", read(os.path.join(TOP, "CHANGELOG.md"))),
        ("LICENSE", read(os.path.join(TOP, "LICENSE"))),
    ]
    # A zip entry's date has two-second steps and starts in 1980.
    stamp = time.gmtime(max(source_epoch(), 315532800))[:6]
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name, data in entries:
            info = zipfile.ZipInfo(folder + name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so the permissions below are read
            info.external_attr = 0o100644 << 16
            z.writestr(info, data, compresslevel=9)
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
