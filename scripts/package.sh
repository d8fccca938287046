#!/usr/bin/env bash
# Builds a release of QAVEQ and makes its Debian package,
# build/package/qaveq_VERSION_ARCH.deb; prints the package's path last.
# Install it with:  sudo apt-get install ./build/package/qaveq_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh dpkg-dev lintian
cmake --preset release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build --preset release --target qaveq_installation

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
arch=$(dpkg --print-architecture)
out=$PWD/build/package
# dpkg-shlibdeps knows the package's own libraries by this layout.
root=$out/debian/qaveq
rm -rf "$out"
mkdir -p "$root/DEBIAN"
DESTDIR=$root cmake --install build/release --prefix /usr --strip >/dev/null

doc=$root/usr/share/doc/qaveq
mkdir -p "$doc"
cp packaging/debian/copyright "$doc/copyright"
released=$(git log -1 --format=%ct 2>/dev/null || date +%s)
{
  echo "qaveq ($version) unstable; urgency=medium"
  echo
  echo "  * Release $version."
  echo
  echo " -- The QAVEQ developers <qaveq@qaveq.org>  $(LC_ALL=C date -R -u -d "@$released")"
} | gzip -9n >"$doc/changelog.gz"

find "$root" -type d -exec chmod 0755 {} +
find "$root/usr" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/bin/qaveq"

# The libraries the program and its module link, as Debian packages. The
# Qt database drivers and the screen plugins are loaded by name at run time,
# and the reports' narrow font is looked up by family.
printf 'Source: qaveq\n\nPackage: qaveq\nArchitecture: any\n' >"$out/debian/control"
objects=("$root/usr/bin/qaveq")
while IFS= read -r -d '' library; do objects+=("$library"); done \
  < <(find "$root/usr/lib" -name '*.so' -print0)
# Our own libraries carry no version in their names, as they serve no other
# package; dpkg-shlibdeps' warning about that is left out.
linked=$(cd "$out" && dpkg-shlibdeps -O "${objects[@]}" 2> >(grep -v "extract name and version" >&2) |
  sed -n 's/^shlibs:Depends=//p')
depends="$linked, libqt6sql6-sqlite, libqt6sql6-psql, qt6-qpa-plugins, fonts-liberation"
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" \
  -e "s/@DEPENDS@/$depends/" packaging/debian/control.in >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb=$out/qaveq_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
lintian --fail-on error "$deb" >&2
echo "$deb"
