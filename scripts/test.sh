#!/usr/bin/env bash
# Builds QAVEQ and runs every test: on SQLite, and on PostgreSQL as well when a
# local server can be started (or QAVEQ_TEST_PG names one).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset dev
cmake --build --preset dev

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
find build/dev -name '*_tests' -type f -perm -u+x -exec touch {} +
ctest --preset dev -j "$(nproc)"
