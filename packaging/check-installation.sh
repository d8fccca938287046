#!/usr/bin/env bash
# Stages the installation of a build folder in a temporary folder, the way the
# Debian package holds it, and checks it: the files it must hold and nothing
# built-tree about them, the program and its module starting from there, the
# desktop entry and metadata through their validators, and the manual page
# and completion against the program's --help.
#   check-installation.sh BUILD_DIR [CMAKE]
# Exits 77 (skipped) where no Debian package can be made.
set -euo pipefail
build=$(cd "$1" && pwd)
cmake=${2:-cmake}

if ! command -v dpkg-deb >/dev/null; then
  echo "skipped: dpkg-deb is missing, so this machine makes no Debian package"
  exit 77
fi
for tool in desktop-file-validate appstreamcli readelf; do
  command -v "$tool" >/dev/null ||
    { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" "$cmake" --install "$build" --prefix /usr >/dev/null
root=$stage/usr
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The files a user and the desktop look for.
libdir=$(dirname "$(find "$root/lib" -name libqaveq.so -print -quit)")
[ -n "$libdir" ] && [ "$(basename "$libdir")" = qaveq ] || fail "no module in a qaveq library folder"
expected=(
  bin/qaveq
  share/qaveq/help/html/index.htm
  share/applications/org.qaveq.Qaveq.desktop
  share/metainfo/org.qaveq.Qaveq.metainfo.xml
  share/icons/hicolor/scalable/apps/qaveq.svg
  share/man/man1/qaveq.1.gz
  share/bash-completion/completions/qaveq
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/qaveq.png")
done
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "the installation lacks /usr/$file"
done
unexpected=$(cd "$stage" && find . -type f ! -path './usr/bin/*' ! -path './usr/lib/*/qaveq/*' \
  ! -path './usr/lib/qaveq/*' ! -path './usr/share/*' | sed 's|^\.||')
[ -z "$unexpected" ] || fail "files outside the package's folders: $unexpected"
static=$(find "$stage" -name '*.a' -o -name '*.h')
[ -z "$static" ] || fail "build-only files installed: $static"

# Every program and library finds the others relative to itself, never in
# the build folder.
while IFS= read -r -d '' object; do
  if readelf -h "$object" >/dev/null 2>&1; then
    runpath=$(readelf -d "$object" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]/\2/p')
    case "$runpath" in
      '$ORIGIN' | '$ORIGIN/'*) ;;
      *) fail "${object#"$stage"} searches \"$runpath\"" ;;
    esac
  fi
done < <(find "$root/bin" "$libdir" -type f -print0)

# The staged program starts, loads its module and shows the installed help
# folder's pages; it keeps its files in a home of the check's own.
export HOME=$stage/home XDG_DATA_HOME=$stage/home/data XDG_CONFIG_HOME=$stage/home/config \
  XDG_STATE_HOME=$stage/home/state
unset QAVEQ_COMPANY QAVEQ_MODULE QAVEQ_HELP
qaveq=$root/bin/qaveq
version=$("$qaveq" --version) || fail "qaveq --version failed"
grep -q "<release version=\"${version#qaveq }\"" "$root/share/metainfo/org.qaveq.Qaveq.metainfo.xml" ||
  fail "the metadata does not name the release \"$version\""
"$qaveq" procedures | grep -q 'QAVEQ:INIT' || fail "the staged program does not load its module"

# The desktop's files pass their validators and name what is installed.
desktop=$root/share/applications/org.qaveq.Qaveq.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net "$root/share/metainfo/org.qaveq.Qaveq.metainfo.xml" >/dev/null ||
  fail "appstreamcli refused the metadata"
grep -qx 'Exec=qaveq' "$desktop" || fail "the desktop entry does not start qaveq"
grep -qx 'Icon=qaveq' "$desktop" || fail "the desktop entry's icon is not the installed one"

# The manual page and the completion name every command --help lists, and
# nothing else.
listed=$("$qaveq" --help | sed -n '/^Commands:$/,/^$/p' | sed -n 's/^  \([^ ]*\) .*/\1/p' | sort)
[ -n "$listed" ] || fail "qaveq --help lists no commands"
in_manual=$(zcat "$root/share/man/man1/qaveq.1.gz" | sed -n 's/^\.SS //p' | sed 's/\\-/-/g' | sort)
[ "$listed" = "$in_manual" ] ||
  fail "the manual page's commands differ from --help: $(diff <(echo "$listed") <(echo "$in_manual") | grep '^[<>]' | tr '\n' ' ')"
if command -v man >/dev/null; then
  warnings=$(MANWIDTH=80 man --warnings -l "$root/share/man/man1/qaveq.1.gz" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "the manual page has mistakes: $warnings"
fi
completion=$root/share/bash-completion/completions/qaveq
bash -n "$completion" || fail "the completion is not valid bash"
for command in $listed; do
  grep -q "^        $command) candidates=" "$completion" || fail "the completion lacks $command"
done

[ "$failures" -eq 0 ] || exit 1
echo "The staged installation holds $(find "$stage/usr" -type f | wc -l) files and passes its checks."
