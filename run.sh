#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kestrilane. With no files it opens the sample pair.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/install-deps.sh"
"$top/tools/build.sh" "$top/build"
if [ $# -eq 0 ]; then
  set -- "$top/samples/before.txt" "$top/samples/after.txt"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  # No desktop session: run inside a virtual X server.
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$top/build/kestrilane" "$@"
fi
exec "$top/build/kestrilane" "$@"
