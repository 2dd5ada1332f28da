#!/usr/bin/env bash
# Runs one Windows test program under Wine beside the stand-in forum server, with the test
# fixtures below as its files: plain HTTP on ports 80 and 8080, HTTPS on 443 with the
# certificate of the namespace's own test CA. Needs tools/with-wine.sh's network namespace,
# whose hosts file sends the forum and picture hosts to 127.0.0.1; skipped (77) without it.
# Usage: run_with_forum.sh PROGRAM [ARG...]
set -uo pipefail
if [ "${TOLVANE_NETNS:-}" != 1 ] || [ -z "${TOLVANE_WINE:-}" ]; then
  echo "skipped: run under tools/with-wine.sh as root (network namespace of its own)"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
program=$1; shift
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# Member pages are named by the hex of the name's bytes; pictures are small text files so
# that a test can tell which one arrived.
files=$work/root
mkdir -p "$files/home" "$files/p"
avatar() { printf '<html><div><a href="#" class="userinfo_head"><img src="%s"/></a></div></html>' "$1"; }
printf 'gbk member page\n' > "$files/home/b6c8.html"
avatar http://pictures.tolvane.test/p/gbk.bin > "$files/home/b0d9b6c8.html"
printf '<HTML><A HREF="#" CLASS="USERINFO_HEAD"><IMG SRC="http://tb.himg.baidu.com/p/abc.bin"/></A>' \
  > "$files/home/616263.html"
avatar http://tb.himg.baidu.com/p/ab.bin > "$files/home/6162.html"
avatar http://tb.himg.baidu.com/p/empty.bin > "$files/home/.html"
printf '<html><p>no such member</p></html>' > "$files/home/6e6f6e65.html"
{ printf '<html>\0'; avatar http://tb.himg.baidu.com/p/abc.bin; } > "$files/home/7a65726f.html"
avatar https://tieba.baidu.com/p/two.bin > "$files/home/74776f.html"
avatar //tb.himg.baidu.com/p/abc.bin > "$files/home/62726f6b656e.html"
# "big": 3 MB of page (GBK text, near-misses of the marker) before the avatar element.
{ head -c 3000000 < <(yes $'<li class="thread_list"><img src="x"/>\xb0\xd9\xb6\xc8</li>' | tr -d '\n')
  avatar http://tb.himg.baidu.com/p/big.bin; } > "$files/home/626967.html"
for name in gbk abc ab empty two big; do printf 'picture %s\n' "$name" > "$files/p/$name.bin"; done
printf 'bee\n' > "$files/b"

server=$root/tools/forum_server.py
python3 "$server" --root "$files" --port 80 --tls-port 443 --cert "$TOLVANE_TEST_CA/server.crt" \
  --key "$TOLVANE_TEST_CA/server.key" --record "$work/record" --ready-file "$work/ready.main" &
pids+=($!)
python3 "$server" --root "$files" --port 8080 --ready-file "$work/ready.other" &
pids+=($!)
for _ in $(seq 200); do
  [ -f "$work/ready.main" ] && [ -f "$work/ready.other" ] && break
  sleep 0.05
done
if ! [ -f "$work/ready.main" ] || ! [ -f "$work/ready.other" ]; then
  echo "forum server did not start" >&2
  exit 1
fi
"$TOLVANE_WINE" "$program" "$@"
