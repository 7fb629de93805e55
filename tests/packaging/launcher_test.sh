#!/usr/bin/env bash
# The installed launcher at a terminal that cannot start: a missing program
# folder, an empty one and a data folder the operator may not write. Each
# shows one box that names the folder and what to do (answered here with
# Return on a virtual X display), writes it to the log with its reason and
# ends with exit status 1.
#   tests/packaging/launcher_test.sh CMAKE BUILD-FOLDER
# Exit status 77 (skipped) without Xvfb, xdotool or xprop.
set -euo pipefail
cmake=$1
build=$2
for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "launcher test: no $tool"; exit 77; }
done

scratch=$(mktemp -d)
xvfb=
finish() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  chmod -R u+w "$scratch" 2>/dev/null || true
  rm -rf "$scratch"
}
trap finish EXIT
prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

# A display of its own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
# Every wait below polls until its event, bounded by a deadline (seconds)
# long enough for a loaded machine.
deadline=60
display_until=$((SECONDS + deadline))
until [ -s "$scratch/display" ]; do
  kill -0 "$xvfb" 2>/dev/null || { echo "launcher test: Xvfb did not start" >&2; exit 1; }
  [ "$SECONDS" -lt "$display_until" ] || { echo "launcher test: Xvfb gave no display in time" >&2; exit 1; }
  sleep 0.1
done
DISPLAY=:$(cat "$scratch/display")
export DISPLAY

# As an operator: root writes anywhere, so the program runs as nobody then.
operator=()
if [ "$(id -u)" = 0 ]; then
  chmod 755 "$scratch"
  operator=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent)
fi
owned() { [ "$(id -u)" = 0 ] && chown -R nobody "$@"; return 0; }
session=$scratch/session
mkdir -m 700 "$session"
owned "$session"
state=$scratch/state
mkdir "$state"
owned "$state"

failures=0
fail() {
  echo "launcher test: $*" >&2
  failures=$((failures + 1))
}

# The newest visible box (a window of the dialog type) of process $1, if any:
# a start that gets as far as its progress window has that window mapped too,
# and it is not a box.
dialog_of() {
  local w last=
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG && last=$w
  done
  printf '%s\n' "$last"
}

# Starts the launcher for program folder $1, answers its box once the log
# $2 (a glob) has its error line, and checks the exit status, the start
# line first, the error line (the pattern $3: the box's folder and fix, the
# reason) and the end.
check() {
  local folder=$1 log=$2 pattern=$3 what=$4 title=${5:-結果入力}
  XDG_RUNTIME_DIR=$session XDG_STATE_HOME=$state QZ_FOLDER_QZP140=$folder \
    QT_QPA_PLATFORM=xcb "${operator[@]}" "$prefix/bin/qz140" </dev/null >"$scratch/out" 2>&1 &
  local pid=$! answered= boxes=() until=$((SECONDS + deadline))
  # Once the log has the error line, Return goes to the program's window
  # until the program ends (a key sent before the box took the focus is
  # lost, so it is sent again); every box answered is remembered.
  while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$until" ]; do
    if grep -qs " error title=" $log; then
      local window
      window=$(dialog_of "$pid")
      if [ -n "$window" ]; then
        case " ${boxes[*]} " in *" $window "*) ;; *) boxes+=("$window") ;; esac
        xdotool windowfocus "$window" key Return 2>/dev/null || true
        answered=yes
      fi
    fi
    sleep 0.2
  done
  local status=0
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "$what: the program did not end after its box in ${deadline}s (answered: ${answered:-no})"
  fi
  [ "${#boxes[@]}" -le 1 ] || fail "$what: ${#boxes[@]} boxes, not one"
  wait "$pid" || status=$?
  [ "$status" = 1 ] || fail "$what: exit status $status, not 1"
  # shellcheck disable=SC2086
  local text
  text=$(cat $log 2>/dev/null || true)
  local first
  first=$(printf '%s\n' "$text" | head -1)
  case "$first" in *" start terminal="*) ;; *) fail "$what: the log does not begin with its start line: $first" ;; esac
  local line
  line=$(printf '%s\n' "$text" | grep " error title=$title " || true)
  # shellcheck disable=SC2254
  case "$line" in
    $pattern) ;;
    *) fail "$what: the error line is not $pattern: $line" ;;
  esac
  printf '%s\n' "$text" | tail -1 | grep -q " end (the start did not complete)$" ||
    fail "$what: the log does not end with the failed start's end"
  echo "launcher test: $what:"
  printf '%s\n' "$text" | sed 's/^/  /'
}

# A program folder that is not there: the log falls back to the state folder.
fix='*qz140 init*QZ_FOLDER_QZP140*'
missing=$scratch/centre-missing/QZP140
check "$missing" "$state/qz140/QZP140_*.log" \
  "*「$missing」への移動に失敗しました。$fix file=$missing reason=No such file or directory" "a missing program folder"

# An empty folder: no QZPPATH.ini; the log goes into LOG of that folder.
empty=$scratch/empty
mkdir "$empty"
owned "$empty"
check "$empty" "$empty/LOG/QZP140_*.log" \
  "*「$empty」はプログラムフォルダではありません$fix file=$empty/QZPPATH.ini reason=No such file or directory" \
  "an empty program folder"
grep -q "make one with: qz140 init" "$scratch/out" || fail "the launcher did not name the fix on the standard error"

# A data folder the operator may not write; the log beside it may be.
centre=$scratch/centre
"$prefix/lib/qz140/demodata" "$centre" >/dev/null
rm -rf "$centre/QZP140"
"$prefix/bin/qz140" init "$centre/QZP140" "$centre" >/dev/null
mkdir -p "$centre/LOG"
owned "$centre/LOG"
chmod a-w "$centre/DATA"
check "$centre/QZP140" "$centre/LOG/QZP140_*.log" \
  "*データフォルダの「$centre/DATA」に書き込めません*書き込み権限を与えて下さい。 file=$centre/DATA reason=Permission denied" \
  "a data folder the operator may not write"

# A master the program only reads may be read-only for the operator: the
# start goes on past the data folder (to the log-on table, missing here).
readonly_master=$scratch/readonly-master
"$prefix/lib/qz140/demodata" "$readonly_master" >/dev/null
rm -rf "$readonly_master/QZP140"
"$prefix/bin/qz140" init "$readonly_master/QZP140" "$readonly_master" >/dev/null
owned "$readonly_master/DATA"
mkdir -p "$readonly_master/LOG"
owned "$readonly_master/LOG"
chmod a-w "$readonly_master/DATA/QZKOMLF.BTR"
rm "$readonly_master/DATA/QZLOGLF.BTR"
check "$readonly_master/QZP140" "$readonly_master/LOG/QZP140_*.log" \
  "*ログオン情報マスタオープンエラー status=12 file=$readonly_master/DATA/QZLOGLF.BTR" \
  "a read-only master" エラー
exit $((failures > 0))
