#!/usr/bin/env bash
# Makes the Debian package of a built tree: the files `cmake --install` puts below /usr,
# stripped, with the package's copyright and changelog, its dependencies the shared
# libraries the programs and the window's module really link (dpkg-shlibdeps), and the
# Culmus fonts recommended. Prints the package's path.
# Usage: make_deb.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail
build=$(realpath "$1")
mkdir -p "$2"
out=$(realpath "$2")
here=$(dirname "$(realpath "$0")")

work=$(mktemp -d "$out/deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The tree dpkg-shlibdeps expects: the package's files in debian/vintrel beside the
# control file that names the package.
root=$work/debian/vintrel
install -d "$root/DEBIAN"
printf 'Source: vintrel\n\nPackage: vintrel\nArchitecture: any\n' > "$work/debian/control"
DESTDIR=$root cmake --install "$build" --prefix /usr --strip > "$work/install.log"

doc=$root/usr/share/doc/vintrel
install -d "$doc"
install -m 644 "$here/debian/copyright" "$doc/copyright"
gzip -9n < "$here/debian/changelog" > "$doc/changelog.gz"
gzip -9n "$root"/usr/share/man/man1/*.1
chmod 644 "$doc/changelog.gz" "$root"/usr/share/man/man1/*.gz

depends=$(cd "$work" &&
  dpkg-shlibdeps -O "-e$root/usr/bin/vintrel" "-e$root/usr/bin/vintrel-book" \
    "-e$root/usr/lib/vintrel/vintrel-sdl.so" | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make_deb.sh: no dependencies found" >&2; exit 1; }

version=$("$root/usr/bin/vintrel" --version | cut -d' ' -f2)
architecture=$(dpkg --print-architecture)
homepage=$(sed -n 's:.*<url type="homepage">\(.*\)</url>.*:\1:p' "$root"/usr/share/metainfo/*.metainfo.xml)
sed -e "s|@VERSION@|$version|" -e "s|@ARCHITECTURE@|$architecture|" \
    -e "s|@INSTALLED_SIZE@|$(du -sk --exclude=DEBIAN "$root" | cut -f1)|" \
    -e "s|@DEPENDS@|$depends|" -e "s|@HOMEPAGE@|$homepage|" \
    "$here/debian/control.in" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

package=$out/vintrel_${version}_${architecture}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$package" > /dev/null
echo "$package"
