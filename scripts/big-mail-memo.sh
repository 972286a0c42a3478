#!/usr/bin/env bash
# Opens a shortcut with its MEMO on whose target is a mail of about 300 MB,
# in lumo-host under an address-space limit of 1 GB (ulimit -v), as a 32-bit
# mail client would hold it. The host must go on to the end of the script,
# show the target (with the MEMO part, or as it is, or nothing), and leave the
# link index and the target's file as they were.
#   scripts/big-mail-memo.sh [build dir=build/linux-release] [MB=300] [limit KB=1048576]
# Use an optimised build without sanitizers: AddressSanitizer reserves far
# more address space than the limit allows.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build/linux-release}" && pwd)
megabytes=${2:-300}
limit=${3:-1048576}
host=$build/host-sim/lumo-host
plugin=$build/lumo.so
fail() { echo "big-mail-memo: $*" >&2; exit 1; }
[ -x "$host" ] && [ -f "$plugin" ] || fail "build lumo-host and lumo in $build first"

work=$build/big-mail-memo
rm -rf "$work"
mkdir -p "$work"
cp "$plugin" "$work/"
cd "$work"

# The target: a multipart mail with one base64 attachment of 76-byte lines
# (made once per size and kept in the build folder).
target=$build/big-mail-$megabytes.eml
if [ ! -f "$target" ]; then
  {
  printf 'From: sender@example.com\r\nTo: user@example.com\r\nSubject: Big\r\n'
  printf 'Message-ID: <big@example.com>\r\nMIME-Version: 1.0\r\n'
  printf 'Content-Type: multipart/mixed; boundary="b1"\r\n\r\n--b1\r\n'
  printf 'Content-Type: text/plain\r\n\r\nA large attachment follows.\r\n--b1\r\n'
  printf 'Content-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n\r\n'
  head -c $((megabytes * 1024 * 1024 * 3 / 4)) /dev/zero | tr '\0' 'x' | base64 -w 76 | sed 's/$/\r/'
  printf -- '--b1--\r\n'
  } >"$target.part"
  mv "$target.part" "$target"
fi
ln -s "$target" big.eml
printf '2711_8\001Box.mb\\!!!!Inbox\\\001?00000001\001<big@example.com>\001Box.mb\\Links\\?00000001\r\n' >expected.idx

cat >big.lhs <<'EOF'
store store
folder Box.mb\ "Box"
folder Box.mb\!!!!Inbox\ "Inbox"
folder Box.mb\Links\ "Links"
mail-file Box.mb\!!!!Inbox\ big.eml
write-bytes shortcut.eml "X-LuMOID: 2711_8\r\nX-MailID: Box.mb\!!!!Inbox\?00000001\r\nX-FolderID: Box.mb\!!!!Inbox\\r\nX-MEMO: on\r\nSubject:-> Big\r\nX-Message-ID: <big@example.com>\r\nMessage-ID: <big@2711_8.LuMO.example.com>\r\nContent-Type: text/plain; id=\"2711_8\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\nMessage From LuMO: [x]\r\n[MEMO]\r\nA note on the big mail."
mail-file Box.mb\Links\ shortcut.eml
write-bytes lumo.idx "2711_8\x01Box.mb\!!!!Inbox\\x01?00000001\x01<big@example.com>\x01Box.mb\Links\?00000001\r\n"
load
start
open-mail Box.mb\Links\?00000001
echo opened
show boxes
exit
expect shown-contains "A note on the big mail."
EOF

status=0
(ulimit -v "$limit" && "$host" big.lhs >run.log 2>&1) || status=$?
grep -q '^opened' run.log || fail "the host did not come back from opening the shortcut (status $status, see $work/run.log)"
# The last line of the script asks for the MEMO; when it is not shown, the
# host's message tells what was: the start of the plain source, or nothing.
if [ "$status" -eq 0 ]; then
  shown="the target with the MEMO part"
elif grep -q 'error: .*A note on the big mail' run.log; then
  if grep -q 'From: sender@example.com' run.log; then shown="the plain source"; else shown="nothing"; fi
else
  fail "lumo-host failed (status $status, see $work/run.log)"
fi
cmp -s big.eml "store/Box.mb/!!!!Inbox/00000001.eml" || fail "the target's file changed"
cmp -s expected.idx lumo.idx || fail "the link index changed"
echo "$(stat -L -c %s big.eml)-byte target under ulimit -v $limit: shown $shown; target and link index intact"
