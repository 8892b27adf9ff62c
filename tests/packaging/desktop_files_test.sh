#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators and name the same
# program: the entry starts vintrel under the program's name, with a Hebrew name, a
# category of Education and the window's class; the metainfo launches that entry.
# Usage: desktop_files_test.sh DESKTOP_ENTRY METAINFO APP_ID
set -euo pipefail
entry=$1 metainfo=$2 id=$3
source "$(dirname "$0")/../support/e2e.sh"
start_in "$(mktemp -d)"

desktop-file-validate "$entry" > "$work/validate.out" 2>&1 ||
  fail "desktop-file-validate: $(cat "$work/validate.out")"
# --no-net: the home page's address is not fetched; warnings fail as errors do.
appstreamcli validate --no-net "$metainfo" > "$work/appstream.out" 2>&1 ||
  fail "appstreamcli validate: $(cat "$work/appstream.out")"

[ "$(basename "$entry")" = "$id.desktop" ] || fail "the entry is $(basename "$entry"), not $id.desktop"

# key EXPECTED-REGEX: the entry's line KEY=VALUE matches.
while IFS='|' read -r key expected; do
  line=$(grep -E "^$key=" "$entry" || true)
  [[ "$line" =~ ^$key=$expected$ ]] || fail "$key: got '${line#*=}', expected /$expected/"
done <<EOT
Type|Application
Name|Vintrel
Comment|.+
Categories|(.*;)?Education;.*
Exec|vintrel
Icon|$id
StartupWMClass|$id
Terminal|false
EOT

# The Hebrew name and comment: letters of the Hebrew block, whose UTF-8 starts with 0xD7.
for key in 'Name[he]' 'Comment[he]'; do
  value=$(awk -v key="$key" 'index($0, key "=") == 1 { print substr($0, length(key) + 2) }' "$entry")
  LC_ALL=C grep -q $'^[\xd7][\x80-\xbf]' <<< "$value" || fail "$key is '$value', not Hebrew"
done

grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
grep -q '<binary>vintrel</binary>' "$metainfo" || fail "the metainfo does not name the vintrel program"
finish "desktop entry and metainfo"
