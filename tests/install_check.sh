#!/bin/sh
# Checks an installed game under PREFIX (a `cmake --install` tree, or /usr
# after the Debian package is installed): the desktop entry's command and
# icon resolve, every PNG icon has the size its hicolor folder says, every
# executable has a manual page that renders without warnings, and the
# runner's page documents every option and script command the runner has.
# Usage: install_check.sh PREFIX SOURCE_DIR
prefix="$1"
source_dir="$2"
share="$prefix/share"
fail=0
bad() { echo "FAIL: $*"; fail=1; }

for program in kragmoor kragmoor-sim; do
  [ -x "$prefix/bin/$program" ] || bad "no executable $prefix/bin/$program"
done

# The desktop entry: Exec names an installed program, Icon a themed icon.
entry="$share/applications/kragmoor.desktop"
if [ -f "$entry" ]; then
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$prefix/bin/$exec_program" ] || bad "Exec=$exec_program is not in $prefix/bin"
  icon=$(sed -n 's/^Icon=//p' "$entry")
else
  bad "no desktop entry $entry"
  icon=kragmoor
fi
hicolor="$share/icons/hicolor"
[ -f "$hicolor/scalable/apps/$icon.svg" ] || bad "no scalable icon $hicolor/scalable/apps/$icon.svg"
[ -f "$hicolor/48x48/apps/$icon.png" ] || bad "no 48x48 icon, the size menus ask for first"
for png in "$hicolor"/*x*/apps/"$icon.png"; do
  [ -f "$png" ] || continue
  folder=$(basename "$(dirname "$(dirname "$png")")")
  # Bytes 0-7: the PNG signature; 16-23: width and height, big-endian.
  # shellcheck disable=SC2046  # the 24 byte values become $1 to $24
  set -- $(od -An -tu1 -N24 "$png")
  [ "$1 $2 $3 $4" = "137 80 78 71" ] || { bad "$png is not a PNG"; continue; }
  width=$(( ${17} * 16777216 + ${18} * 65536 + ${19} * 256 + ${20} ))
  height=$(( ${21} * 16777216 + ${22} * 65536 + ${23} * 256 + ${24} ))
  [ "${width}x${height}" = "$folder" ] || bad "$png is ${width}x${height}, in folder $folder"
done

# Manual pages: one per executable, gzipped, no groff warnings.
for program in kragmoor kragmoor-sim; do
  page="$share/man/man6/$program.6.gz"
  if ! gzip -t "$page" 2>/dev/null; then
    bad "no gzipped manual page $page"
    continue
  fi
  warnings=$(gzip -dc "$page" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || bad "$page: $warnings"
done

# The runner's page against the runner: every option --help lists and every
# command of the script table appears; every command the page lists is one
# the runner knows.
page="$share/man/man6/kragmoor-sim.6.gz"
sim="$prefix/bin/kragmoor-sim"
if [ -f "$page" ] && [ -x "$sim" ]; then
  text=$(gzip -dc "$page" | groff -man -Tascii -rLL=500n -rHY=0 -P-cbou 2>/dev/null)
  for option in $("$sim" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    printf '%s\n' "$text" | grep -q -- "$option" || bad "the manual page lacks $option"
  done
  # Tags of the list under SCENARIO SCRIPTS: the word after .B/.BI/.BR
  # on the line after each .TP.
  tags=$(gzip -dc "$page" | awk '
    /^\.SH/ { inside = ($0 ~ /SCENARIO SCRIPTS/) }
    inside && tag { gsub(/"/, "", $2); print $2 }
    { tag = ($0 == ".TP") }' | sort -u)
  for command in $(sed -n 's/^      {"\([a-z]*\)",.*/\1/p' "$source_dir/runner/script.cc"); do
    printf '%s\n' "$tags" | grep -qx "$command" || bad "the manual page lacks the script command '$command'"
  done
  for command in $tags; do
    if printf '%s\n' "$command" | "$sim" run 2>&1 >/dev/null | grep -q "unknown command"; then
      bad "the manual page lists '$command', which the runner does not know"
    fi
  done
  [ -n "$tags" ] || bad "no script commands found in $page"
fi
exit $fail
