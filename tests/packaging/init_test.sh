#!/usr/bin/env bash
# `qz140 init` of the installed launcher: it writes the template's files
# with the operator's umask, and never through a link it did not make: a
# link at a file's name (leading somewhere or nowhere) or at a name that an
# earlier init wrote beside stays as it is, and what it leads to is not
# touched.
#   tests/packaging/init_test.sh CMAKE BUILD-FOLDER
set -euo pipefail
cmake=$1
build=$2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
qz140=$prefix/bin/qz140

failures=0
fail() {
  echo "init test: $*" >&2
  failures=$((failures + 1))
}

# A fresh folder: every file of the template, with the umask's mode.
fresh=$scratch/fresh/QZP140
(umask 002 && "$qz140" init "$fresh" "$scratch/fresh" >/dev/null)
for file in "$prefix"/share/qz140/template/*; do
  name=$(basename "$file")
  [ -f "$fresh/$name" ] && [ ! -L "$fresh/$name" ] || { fail "fresh: no file $name"; continue; }
  mode=$(stat -c %a "$fresh/$name")
  [ "$mode" = 664 ] || fail "fresh: $name has mode $mode, not 664 (umask 002)"
done
grep -q "^VLMF=$scratch/fresh/DATA/" "$fresh/QZPPATH.ini" || fail "fresh: QZPPATH.ini does not name the data folder"
[ -z "$(find "$fresh" -name '.*' -type f)" ] || fail "fresh: a file written beside is left"

# Links planted by someone else, each at a name init writes or wrote: the
# link stays, and neither the file it leads to nor the place it leads
# nowhere to is written.
target=$scratch/planted/QZP140
mkdir -p "$target" "$scratch/victim"
echo precious > "$scratch/victim/file"
echo precious > "$scratch/victim/other"
# name:where it leads (in the victim's folder): the names an earlier init
# wrote beside, leading to files, and names of files, leading nowhere
links="QZPPATH.ini.new:file QZP149D.INI.new:other QZP140.INI:ini QZP149C.EXE:exe"
for link in $links; do ln -s "$scratch/victim/${link#*:}" "$target/${link%%:*}"; done
"$qz140" init "$target" "$scratch/planted" >/dev/null 2>&1 || true
[ "$(cat "$scratch/victim/file" "$scratch/victim/other")" = "precious
precious" ] || fail "planted: a file a link leads to was written"
[ "$(ls "$scratch/victim" | tr '\n' ' ')" = "file other " ] || fail "planted: a link leading nowhere was written through: $(ls "$scratch/victim")"
for link in $links; do
  [ -L "$target/${link%%:*}" ] || fail "planted: the link ${link%%:*} was replaced"
done
for name in QZPPATH.ini QZP149D.INI KWBDISP.ENV; do
  [ -f "$target/$name" ] && [ ! -L "$target/$name" ] || fail "planted: $name was not written"
done

echo "init test: $failures failures"
exit $((failures > 0))
