#!/usr/bin/env bash
# Builds QAVEQ and starts it. With no arguments it opens the demonstration
# company (creating it on first start); any arguments go to the program:
#   scripts/run.sh --company ~/acme dump EQHeader
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

qaveq=build/release/qaveq
if [ $# -gt 0 ]; then
  exec "$qaveq" "$@"
fi
company="${QAVEQ_COMPANY:-$HOME/.local/share/qaveq/company}"
if [ ! -f "$company/company.ini" ]; then
  "$qaveq" --company "$company" init --demo
fi
echo "Company: $company"
exec "$qaveq" --company "$company" --help
