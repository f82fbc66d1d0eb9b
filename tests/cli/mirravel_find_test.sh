#!/usr/bin/env bash
# End-to-end runs of mirravel-find on the embedded catalogue: output, messages and exit codes.
# Usage: mirravel_find_test.sh PROGRAM [RUNNER...]   (RUNNER is "wine" for the Windows builds)
set -u
program=$1; shift
runner=("$@")
failures=0
checks=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

expect() {  # expected-exit stdout-glob expected-stderr -- arguments...
  local want_code=$1 want_out=$2 want_err=$3; shift 4
  local out err code
  "${runner[@]}" "$program" "$@" >"$scratch/out" 2>"$scratch/err"; code=$?
  out=$(tr -d '\r' <"$scratch/out"); err=$(tr -d '\r' <"$scratch/err")
  checks=$((checks + 1))
  # shellcheck disable=SC2053 # the expected output is a glob pattern on purpose
  if [ "$code" != "$want_code" ] || [[ "$out" != $want_out ]] || [ "$err" != "$want_err" ]; then
    failures=$((failures + 1))
    printf 'FAIL: mirravel-find %s\n  exit %s (want %s)\n  stdout [%s]\n  want   [%s]\n  stderr [%s]\n  want   [%s]\n' \
      "$*" "$code" "$want_code" "$out" "$want_out" "$err" "$want_err"
  fi
}

expect 0 "#WM_PAINT = \$F " "" -- WM_PAINT
expect 0 "#WM_PAINT = \$F " "" -- "#wm_paint"
expect 0 "#VK_F3 = \$72 " "" -- vk_f3
expect 0 "#ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED = \$78D " "" -- ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED
expect 0 "#* = \$78D " "" -- 1933
expect 0 "#HWND_TOPMOST = \$FFFFFFFF " "" -- hwnd_topmost
expect 1 "" "Constant not found!" -- NO_SUCH_CONSTANT_ANYWHERE
expect 1 "" "Value not found!" -- '$0FF'
expect 2 "" "Text is not a constant nor a value" -- 12AB
expect 0 "#* = \$FF " "" -- '$ff'  # searched upper-cased, as the window does
"${runner[@]}" "$program" >/dev/null 2>&1; code=$?
checks=$((checks + 1))
[ "$code" = 4 ] || { failures=$((failures + 1)); echo "FAIL: no TEXT gave exit $code, want 4"; }
# --all walks every hit in order; --any also matches longer names.
all_paint=$("${runner[@]}" "$program" --all --any '#WM_PAINT' 2>/dev/null | tr -d '\r' | cut -d' ' -f1 | tr '\n' ' ')
checks=$((checks + 1))
case "$all_paint" in
  "#WM_PAINT #WM_PAINTCLIPBOARD #WM_PAINTICON "*) ;;
  *) failures=$((failures + 1)); echo "FAIL: --all --any #WM_PAINT gave [$all_paint]" ;;
esac
hits_255=$("${runner[@]}" "$program" --all 255 2>/dev/null | tr -d '\r' | wc -l)
checks=$((checks + 1))
[ "$hits_255" -gt 10 ] || { failures=$((failures + 1)); echo "FAIL: --all 255 found only $hits_255 entries"; }

echo "mirravel-find: $((checks - failures)) of $checks checks passed"
[ $failures -eq 0 ]
