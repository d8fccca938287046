#!/usr/bin/env bash
# Builds QAVEQ and starts it. With no arguments it opens its windows on the
# company in $QAVEQ_COMPANY (default ~/.local/share/qaveq/company), creating
# the demonstration company there on first start. Any arguments go to the
# program, for example:  scripts/run.sh --company ~/acme dump EQHeader
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
# Only the program and its module: the tests and benchmarks wait for
# scripts/test.sh.
cmake --build --preset release --target qaveq_host

qaveq=build/release/qaveq
if [ $# -gt 0 ]; then
  exec "$qaveq" "$@"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the windows on. Run this from a desktop session, or under"
  echo "xvfb-run; the commands work without one (see: $qaveq --help)."
  exit 1
fi
exec "$qaveq"
