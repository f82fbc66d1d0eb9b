#!/usr/bin/env bash
# Fails when a file includes from a layer above its own, or from another folder of its own layer.
# Layers, bottom to top (docs/architecture.md):
#   1 ports/                                     interfaces to the outside and plain value types
#   2 support/                                   text, path and command-line helpers, preference reader
#   3 catalogue/ data/                           the catalogue model: decoder, text, search
#   4 ui/ host/ help/ registration/ tools/       each feature's logic through the ports; the packer
#   5 app/                                       AppState, start-up, the flows that talk to the user
#   6 platform/ cli/                             implementations of the ports, entry points
#   7 tests/ bench/                              tests, fakes, peer programs, benchmarks
# Folders of one layer do not include each other.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

layer_of() {
  case "$1" in
    ports) echo 1 ;;
    support) echo 2 ;;
    catalogue | data) echo 3 ;;
    ui | host | help | registration | tools) echo 4 ;;
    app) echo 5 ;;
    platform | cli) echo 6 ;;
    tests | bench) echo 7 ;;
    *) echo 0 ;;
  esac
}

violations=0
checked=0
while IFS= read -r file; do
  own=${file%%/*}
  own_layer=$(layer_of "$own")
  [ "$own_layer" -eq 0 ] && continue
  checked=$((checked + 1))
  while IFS= read -r included; do
    target=${included%%/*}
    [ "$target" = "$included" ] && continue  # a file beside this one
    target_layer=$(layer_of "$target")
    [ "$target_layer" -eq 0 ] && continue    # relative to this folder (tests' helpers and fakes)
    [ "$target" = "$own" ] && continue
    if [ "$target_layer" -ge "$own_layer" ]; then
      echo "$file includes \"$included\": $target/ (layer $target_layer) is not below $own/ (layer $own_layer)"
      violations=$((violations + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files -co --exclude-standard -- '*.h' '*.hpp' '*.cpp' '*.cc' | grep -v '^build/')

echo "include layers: $checked files checked, $violations violations"
[ $violations -eq 0 ]
