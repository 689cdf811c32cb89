#!/usr/bin/env bash
# Builds the Debian packages from a build folder and checks them without installing them on
# this machine: every dependency is a package Debian has, lintian finds no error, and the
# program unpacked into a fresh root starts (offscreen) in a fresh data folder.
#   tools/package-check.sh <build folder>
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null 2>&1)
debs=("$build"/purseward_*.deb "$build"/purseward-sandbox_*.deb)
for deb in "${debs[@]}"; do
  [ -f "$deb" ] || { echo "package missing: $deb" >&2; exit 1; }
  echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
  dpkg-deb -x "$deb" "$work/root"
  # Each dependency must come from Debian's own archive.
  dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed -e 's/(.*)//' -e 's/[[:space:]]//g' | grep -v '^$' |
    while read -r dep; do
      apt-cache show "$dep" >/dev/null 2>&1 || { echo "$(basename "$deb"): unknown dependency $dep" >&2; exit 1; }
    done
done
if command -v lintian >/dev/null; then
  report=$(lintian --tag-display-limit 0 "${debs[@]}" 2>/dev/null || true)
  if grep '^E:' <<<"$report"; then
    echo "lintian reports errors" >&2
    exit 1
  fi
fi
for f in usr/bin/purseward usr/lib/purseward/purseward usr/bin/purseward-sandbox \
         usr/share/applications/purseward.desktop usr/share/purseward/Sound/notify.wav \
         usr/share/man/man1/purseward.1.gz usr/share/man/man1/purseward-sandbox.1.gz \
         usr/lib/purseward/Language/Purseward_ru.so usr/share/purseward/Sample/LR_Import.csv; do
  [ -e "$work/root/$f" ] || { echo "missing in the packages: /$f" >&2; exit 1; }
done
"$work/root/usr/bin/purseward-sandbox" --help >/dev/null

# Start the unpacked program once in a fresh data folder; it must still run after 5 s.
home="$work/home"
set +e
(umask 022; HOME="$work" PURSEWARD_HOME="$home" QT_QPA_PLATFORM=offscreen \
  timeout 5 "$work/root/usr/bin/purseward" >"$work/out.txt" 2>&1)
rc=$?
set -e
if [ $rc -ne 124 ]; then
  echo "the unpacked program ended with $rc:" >&2
  cat "$work/out.txt" >&2
  exit 1
fi
[ -f "$home/Set/Purseward.ini" ] || { echo "no settings file after the first start" >&2; exit 1; }
for f in Sound/notify.wav Language/Purseward_ru.so Sample/PM_Import.csv; do
  [ -f "$home/$f" ] || { echo "$f was not put into the data folder" >&2; exit 1; }
done
[ "$(stat -c %a "$home")" = 700 ] || { echo "the data folder is not private" >&2; exit 1; }
echo "Packages checked."
