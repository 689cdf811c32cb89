#!/usr/bin/env bash
# Starts the sandbox and the program in the data folder. Argument: the build folder.
set -euo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
home="${PURSEWARD_HOME:-$HOME/.local/share/Purseward}"
https_port="${PURSEWARD_SANDBOX_HTTPS_PORT:-18443}"
http_port="${PURSEWARD_SANDBOX_HTTP_PORT:-18080}"
eg_port="${PURSEWARD_SANDBOX_EG_PORT:-18444}"

# The data folder holds credentials and payment data: only its owner may enter it.
(umask 077 && mkdir -p "$home/Set" "$home/Ref" "$home/Sample" "$home/Sound" "$home/Language" "$home/sandbox")
chmod 700 "$home"
cp -f "$here/res/sound/notify.wav" "$home/Sound/notify.wav"
# Example payment lists for the mass-payment import; a list the user has changed is kept.
for sample in "$here"/res/Sample/*_Import.csv; do
  [ -e "$home/Sample/${sample##*/}" ] || cp "$sample" "$home/Sample/"
done
# The language libraries the build made (chosen in the settings dialog).
for library in "$build"/Language/Purseward_*.so; do
  [ -e "$library" ] && cp -f "$library" "$home/Language/"
done
# The program finds its own directory through the file named by ExecutableModule.
ln -sfn "$build/src/app/gui/purseward" "$home/purseward"

# Desktop entry and icon for this user.
apps="$HOME/.local/share/applications"
icons="$HOME/.local/share/icons/hicolor/scalable/apps"
mkdir -p "$apps" "$icons"
cp -f "$here/res/icons/purseward.svg" "$icons/purseward.svg"
sed -e "s|@EXEC@|$here/tools/start-program.sh $build|" "$here/res/purseward.desktop" > "$apps/purseward.desktop"

# The local simulator of the payment systems, unless one already listens.
if ! (exec 3<>"/dev/tcp/127.0.0.1/$https_port") 2>/dev/null; then
  nohup "$build/tools/sandbox/purseward-sandbox" --dir "$home/sandbox" \
    --https-port "$https_port" --http-port "$http_port" --expired-port 0 --wronghost-port 0 --eg-port "$eg_port" \
    --keep-running < /dev/null > "$home/sandbox/sandbox.log" 2>&1 &
  for _ in $(seq 1 50); do
    grep -q '^ready' "$home/sandbox/sandbox.log" 2>/dev/null && break
    sleep 0.1
  done
fi

# A fresh data folder gets its first-run settings, pointed at the simulator.
if [ ! -s "$home/Set/Purseward.ini" ]; then
  "$build/tools/firstrun/purseward-firstrun" "$home" "127.0.0.1:$https_port" \
    "127.0.0.1:$http_port" "$home/sandbox/ca.pem" "127.0.0.1:$eg_port"
fi

cd "$home"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  echo "No display: starting the program under xvfb-run." >&2
  exec xvfb-run -a ./purseward
fi
exec ./purseward
