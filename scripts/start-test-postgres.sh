#!/usr/bin/env bash
# Starts the machine's PostgreSQL cluster (from Debian's package) when it is
# down, and makes a role and database for the tests. Prints the connection
# for QAVEQ_TEST_PG on stdout; says why on stderr and exits non-zero when it
# cannot.
set -euo pipefail

as_postgres() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"
  elif command -v sudo >/dev/null; then sudo -u postgres "$@"
  else echo "need root or sudo to start PostgreSQL" >&2; return 1; fi
}
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

command -v pg_lsclusters >/dev/null || { echo "PostgreSQL is not installed" >&2; exit 1; }
version=$(ls /usr/lib/postgresql | sort -V | tail -n 1)
if ! pg_lsclusters -h | grep -q .; then
  as_root pg_createcluster "$version" main >&2
fi
read -r version cluster port status _ < <(pg_lsclusters -h | head -n 1)
if [ "$status" != "online" ]; then
  # After an unclean stop the server first recovers, syncing its whole data
  # directory; on a slow disk that outlasts pg_ctl's minute of waiting, while
  # the server goes on starting. So a start that gave up waiting is waited for.
  as_root pg_ctlcluster "$version" "$cluster" start >&2 ||
    echo "PostgreSQL is still starting; waiting for it" >&2
fi

psql_admin() { as_postgres psql -p "$port" -v ON_ERROR_STOP=1 -qtAc "$1"; }
for _ in $(seq 1 300); do psql_admin "SELECT 1" >/dev/null 2>&1 && break; sleep 1; done
[ "$(psql_admin "SELECT 1 FROM pg_roles WHERE rolname='qaveq'")" = 1 ] ||
  psql_admin "CREATE ROLE qaveq LOGIN PASSWORD 'qaveq'"
[ "$(psql_admin "SELECT 1 FROM pg_database WHERE datname='qaveq_test'")" = 1 ] ||
  psql_admin "CREATE DATABASE qaveq_test OWNER qaveq"

echo "host=127.0.0.1 port=$port dbname=qaveq_test user=qaveq password=qaveq"
