#!/usr/bin/env bash
# Real mail, end to end: fetches Debian's public mail corpora (apt-get
# download and dpkg-deb -x into build/real-mail/corpora, nothing installed),
# builds lumo.so and lumo-host, and runs a few hundred of the mails through
# the substitute host as a user's month would (scripts/real-mail.py).
# Exits non-zero on any fault. docs/real-mail.md has the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(libpython3.11-testsuite golang-github-gatherstars-com-jwz-dev
  golang-github-jhillyerd-enmime-dev python3-flufl.bounce python3-django-hyperkitty)
corpora=build/real-mail/corpora
if [ ! -f "$corpora/.unpacked" ]; then
  rm -rf build/real-mail/debs "$corpora"
  mkdir -p build/real-mail/debs "$corpora"
  (cd build/real-mail/debs && apt-get download "${packages[@]}")
  for deb in build/real-mail/debs/*.deb; do dpkg-deb -x "$deb" "$corpora"; done
  ls build/real-mail/debs >"$corpora/.unpacked"
fi
cmake --preset linux >/dev/null
cmake --build --preset linux --target lumo lumo-host
python3 scripts/real-mail.py --host build/linux/host-sim/lumo-host --plugin build/linux/lumo.so \
  --corpora "$corpora" --work build/real-mail/month
