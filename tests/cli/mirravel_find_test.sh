#!/usr/bin/env bash
# End-to-end runs of mirravel-find on the embedded catalogue: output, messages and exit codes, one row each
# (how a text is searched and what the catalogue holds the unit tests pin).
# Usage: mirravel_find_test.sh PROGRAM [RUNNER...]   (RUNNER is "wine" for the Windows builds)
set -u
program=$1; shift
runner=("$@")
failures=0
checks=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

expect() {  # expected-exit stdout-glob stderr-glob -- arguments...
  local want_code=$1 want_out=$2 want_err=$3 out err code; shift 4
  "${runner[@]}" "$program" "$@" >"$scratch/out" 2>"$scratch/err"; code=$?
  out=$(tr -d '\r' <"$scratch/out"); err=$(tr -d '\r' <"$scratch/err")
  checks=$((checks + 1))
  # shellcheck disable=SC2053 # the expected texts are glob patterns on purpose
  if [ "$code" != "$want_code" ] || [[ "$out" != $want_out ]] || [[ "$err" != $want_err ]]; then
    failures=$((failures + 1))
    printf 'FAIL: mirravel-find %s\n  exit %s (want %s)\n  stdout [%s]\n  want   [%s]\n  stderr [%s]\n  want   [%s]\n' \
      "$*" "$code" "$want_code" "$out" "$want_out" "$err" "$want_err"
  fi
}

eleven_lines_or_more=$(printf '*\n%.0s' {1..11})  # ten line breaks between anything
expect 0 "#WM_PAINT = \$F ' winuser.h" "" -- wm_paint
expect 1 "" "Constant not found!" -- NO_SUCH_CONSTANT_ANYWHERE
expect 1 "" "Value not found!" -- 4294967296  # no wrap to $0
expect 2 "" "Text is not a constant nor a value" -- 12AB
expect 4 "*" "*" --  # no text
# --all walks every hit in order; --any also matches longer names.
expect 0 $'#WM_PAINT = $F \' winuser.h\n#WM_PAINTCLIPBOARD = $309 \' winuser.h\n#WM_PAINTICON = $26 \' winuser.h' "" -- --all --any '#WM_PAINT'
expect 0 "$eleven_lines_or_more" "" -- --all 255

echo "mirravel-find: $((checks - failures)) of $checks checks passed"
[ $failures -eq 0 ]
