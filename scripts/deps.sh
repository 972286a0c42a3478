#!/usr/bin/env bash
# Makes sure the Debian packages a task needs are present. As root it installs
# what is missing; otherwise it stops, naming the missing packages.
# Usage: scripts/deps.sh demo|test|bench|shots
set -euo pipefail

common=(cmake make g++ googletest pkg-config)
case "${1:-test}" in
  demo) want=("${common[@]}") ;;
  # wine32:i386 runs the win32 build's suite beside the shipped lumo.dll; it
  # needs Debian's i386 architecture. strace watches the files the plug-in
  # touches in the hostile corpus run (tests/hostile).
  test) want=("${common[@]}" clang clang-format libclang-rt-14-dev libgmime-3.0-dev strace
               g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
               wine64 wine32:i386 xvfb xauth python3) ;;
  # The benchmarks' anchors: ripgrep beside grep (locator, link index) and
  # GMime (the MIME tree).
  bench) want=("${common[@]}" ripgrep libgmime-3.0-dev) ;;
  # The dialog pictures: the win64 host under Wine with Wine's own fonts
  # (caption buttons) and a Japanese one, the ja_JP locale's sources, and
  # python3 to turn the BMP files into PNG.
  shots) want=("${common[@]}" g++-mingw-w64-x86-64 wine64 xvfb xauth fonts-wine fonts-ipafont-gothic
               locales python3) ;;
  *) echo "usage: $0 demo|test|bench|shots" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# A package of another architecture (name:i386) needs that architecture added.
foreign=()
for p in "${missing[@]}"; do
  case "$p" in
    *:*) arch=${p#*:}
         [ "$arch" = "$(dpkg --print-architecture)" ] ||
           dpkg --print-foreign-architectures | grep -qx "$arch" || foreign+=("$arch") ;;
  esac
done

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  for arch in "${foreign[@]}"; do echo "They need the $arch architecture: dpkg --add-architecture $arch" >&2; done
  echo "Install them (apt-get install ${missing[*]}) or run this command as root." >&2
  exit 1
fi
for arch in "${foreign[@]}"; do
  echo "Adding the $arch architecture"
  dpkg --add-architecture "$arch"
done
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
