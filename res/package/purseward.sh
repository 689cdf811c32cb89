#!/bin/sh
# Starts Purseward in the user's data folder: ~/.local/share/Purseward, or $PURSEWARD_HOME.
# A new folder is made private to the user and gets the shipped notification sound, language
# libraries and example import files; nothing already there is overwritten.
set -eu
self=$(readlink -f "$0")
prefix=$(dirname "$(dirname "$self")")
share="$prefix/share/purseward"
home="${PURSEWARD_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/Purseward}"
umask 077
mkdir -p "$home"
for from in "$share/Sound" "$share/Sample" "$prefix/lib/purseward/Language"; do
  [ -d "$from" ] || continue
  sub=$(basename "$from")
  mkdir -p "$home/$sub"
  for f in "$from"/*; do
    [ -e "$f" ] || continue
    [ -e "$home/$sub/$(basename "$f")" ] || cp "$f" "$home/$sub/"
  done
done
# The program finds its own folder through the file named by its ExecutableModule setting.
ln -sfn "$prefix/lib/purseward/purseward" "$home/purseward"
cd "$home"
exec ./purseward "$@"
