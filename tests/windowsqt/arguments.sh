#!/usr/bin/env bash
# scripts/build-windows-qt explains itself, and refuses what it cannot build
# from before it installs, fetches or builds anything: no OUTPUT is made.
#   arguments.sh SCRIPT
set -euo pipefail
script=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset ZEFA_QTBASE_DSC ZEFA_QTSERIALPORT_SRC
out=$tmp/out
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# refuses MESSAGE ARGUMENT...: exit status 1, MESSAGE on stderr, no OUTPUT.
refuses() {
    local message=$1 status=0
    shift
    "$script" "$@" >"$tmp/stdout" 2>"$tmp/stderr" </dev/null || status=$?
    [ "$status" -eq 1 ] || fail "$* ended with status $status, not 1"
    grep -qF -- "$message" "$tmp/stderr" || fail "$* did not say '$message': $(cat "$tmp/stderr")"
    [ ! -e "$out" ] || fail "$* made $out"
    rm -rf "$out"
}

help=$("$script" --help) || fail "--help ended with status $?"
grep -q '^Usage: scripts/build-windows-qt \[OPTIONS\] OUTPUT$' <<<"$help" || fail "--help shows no usage"
for option in --qtbase --qtserialport --archive --jobs; do
    grep -q -- "^  .*$option " <<<"$help" || fail "--help does not describe $option"
done
[ "$("$script" -h)" = "$help" ] || fail "-h is not --help"

mkdir "$tmp/full" && touch "$tmp/full/file" "$tmp/plain"
echo "Format: 3.0 (quilt)" >"$tmp/other.dsc"
mkdir -p "$tmp/serial-tree/qtserialport-5.15.8" && echo x >"$tmp/serial-tree/qtserialport-5.15.8/.qmake.conf"
tar cJf "$tmp/serial.tar.xz" -C "$tmp/serial-tree" qtserialport-5.15.8
echo "not a tarball" >"$tmp/garbage.tar.xz"

refuses "no OUTPUT folder given"
refuses "unknown option --bogus" --bogus "$out"
refuses "one OUTPUT folder only" "$out" "$tmp/second"
refuses "--jobs needs a value" "$out" --jobs
refuses "--jobs takes a positive number, not '0'" --jobs 0 "$out"
refuses "--jobs takes a positive number, not '2x'" -j 2x "$out"
refuses "--archive names a .tar.xz file" --archive "$tmp/qt.zip" "$out"
refuses "exists and is not an empty folder" "$tmp/full"
refuses "exists and is not an empty folder" "$tmp/plain"
refuses "no qtbase .dsc at" --qtbase "$tmp/missing.dsc" "$out"
refuses "no qtserialport source at" --qtserialport "$tmp/missing" "$out"
ZEFA_QTSERIALPORT_SRC=$tmp/missing refuses "no qtserialport source at" "$out"
refuses "is not qtbase-opensource-src_5.15.8+dfsg-11+deb12u3.dsc" --qtbase "$tmp/other.dsc" "$out"
refuses "is not qtserialport at v5.15.8-lts-lgpl" --qtserialport "$tmp/serial.tar.xz" "$out"
refuses "is not qtserialport at v5.15.8-lts-lgpl" --qtserialport "$tmp/serial-tree/qtserialport-5.15.8" "$out"
refuses "cannot unpack" --qtserialport "$tmp/garbage.tar.xz" "$out"

[ "$failures" -eq 0 ]
