#!/usr/bin/env bash
# Installs what is missing, builds, starts the stand-in studio service with its
# demo data and opens the program. Log in as demo / demo123.
# With --offer-update the stand-in announces a new version, to try the
# hand-over to the updater.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only what the demo runs: the program, the updater and the stand-in service.
bash scripts/build.sh studiokit_app VersionProbe studio-service

demo_root="${STUDIO_DEMO_ROOT:-$PWD/demo-data}"
mkdir -p "$demo_root"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. Run the demo under a virtual display instead:"
  echo "  xvfb-run -a -s '-screen 0 1600x1000x24' bash scripts/run-demo.sh"
  exit 1
fi

./build/studio-service/studio-service --root "$demo_root" "$@" &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null || true' EXIT
sleep 1
if ! kill -0 "$service_pid" 2>/dev/null; then
  echo "The stand-in studio service did not start (is port 18080 in use?)." >&2
  exit 1
fi

# The program keeps its small settings files in the folder it starts in.
cd "$demo_root"
"$OLDPWD/build/StudioKit/澜叶软件Orbit-影务通"

# An update hand-over leaves the updater running; it still needs the service.
while grep -qx VersionProbe /proc/[0-9]*/comm 2>/dev/null; do
  sleep 1
done
