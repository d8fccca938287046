#!/usr/bin/env bash
# Builds QAVEQ and runs every test: on SQLite, and on PostgreSQL as well when a
# local server can be started (or QAVEQ_TEST_PG names one).
#   scripts/test.sh        the debug build (preset dev)
#   scripts/test.sh asan   the same tests under the address and undefined-behaviour
#                          sanitizers (preset asan); any finding fails the run
set -euo pipefail
cd "$(dirname "$0")/.."

preset="${1:-dev}"
case "$preset" in
  dev) ;;
  asan)
    # Leaks are not looked for: the GUI libraries keep caches to the end.
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
    ;;
  *) echo "usage: scripts/test.sh [dev|asan]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"

if [ -z "${QAVEQ_TEST_PG:-}" ]; then
  if connection=$(scripts/start-test-postgres.sh); then
    export QAVEQ_TEST_PG="$connection"
  elif [ "${CI:-}" = "true" ]; then
    echo "CI needs PostgreSQL for the data tests, and it could not be started." >&2
    exit 1
  else
    echo "note: PostgreSQL not available; the data tests run on SQLite only." >&2
  fi
fi
[ -n "${QAVEQ_TEST_PG:-}" ] && echo "Data tests also run on PostgreSQL ($QAVEQ_TEST_PG)."

# Which backends the tests are listed for depends on QAVEQ_TEST_PG: have ctest
# list them again rather than reuse a list made without it.
find "build/$preset" -name '*_tests' -type f -perm -u+x -exec touch {} +
ctest --preset "$preset" -j "$(nproc)"
