#!/usr/bin/env bash
# The Debian package: it depends on the shared libraries the programs link and
# recommends the Culmus fonts, lintian finds no error in it, and in a root of its own
# dpkg installs it, the reader and its manual page work from there, and removing it
# leaves nothing behind.
# Usage: debian_package_e2e.sh MAKE_DEB BUILD_DIR WORK_FOLDER
set -euo pipefail
make_deb=$1 build=$2
source "$(dirname "$0")/../support/e2e.sh"
start_in "$3"

package=$("$make_deb" "$build" "$work")
field() { dpkg-deb --field "$package" "$1"; }

[ "$(field Package)" = vintrel ] || fail "the package is named '$(field Package)'"
depends=$(field Depends)
for library in libsdl2-2.0-0 libfreetype6 libfontconfig1 libpng16-16 libc6; do
  [[ ", $depends," == *", $library "* ]] || fail "Depends has no $library: $depends"
done
[ "$(field Recommends)" = culmus ] || fail "Recommends is '$(field Recommends)', not culmus"

# Errors fail; what lintian still warns about is shown.
lintian --tag-display-limit 0 "$package" > "$work/lintian.out" 2>&1 || true
grep '^[EW]: ' "$work/lintian.out" || true
grep -q '^E: ' "$work/lintian.out" && fail "lintian found errors"

# A root of its own, which needs no root user: dpkg's database there is empty, so the
# libraries the host already has are not known there.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root --log=/dev/null -i "$package" > "$work/install.out" 2>&1 ||
  fail "dpkg -i failed: $(cat "$work/install.out")"
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' vintrel)" = "install ok installed" ] ||
  fail "dpkg does not see the package installed"

write_settings '"FontName"="DejaVu Sans"\r\n'
program=$root/usr/bin/vintrel
run_day=2005-03-15 run installed "windows\nquit" || fail "the installed reader exited with $?"
grep -q '^window class="Vintrel' "$work/installed.out" || fail "the installed reader showed no main window"
MANWIDTH=80 man -l "$root/usr/share/man/man1/vintrel.1.gz" 2> /dev/null | grep -q '^EXIT STATUS' ||
  fail "man cannot read the installed vintrel.1"
"$root/usr/bin/vintrel-book" dump 1 > /dev/null || fail "the installed vintrel-book cannot read its book"

dpkg --root="$root" --force-not-root --log=/dev/null --purge vintrel > "$work/remove.out" 2>&1 ||
  fail "dpkg --purge failed: $(cat "$work/remove.out")"
left=$(cd "$root" && find . -mindepth 1 -path ./var/lib/dpkg -prune -o ! -path ./var ! -path ./var/lib -print)
[ -z "$left" ] || fail "removing the package left: $left"
[ -s "$settings" ] || fail "removing the package touched the user's settings"
finish "Debian package"
