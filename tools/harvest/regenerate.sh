#!/usr/bin/env bash
# Regenerates the catalogue: data/catalogue.txt from the mingw-w64 and DirectX headers (values computed
# by the i686 cross compiler, then confirmed by verify.py) and the winapi crate's constants, data/catalogue.jc
# packed from it by catpack, and data/README.md with its figures. Stops at the first failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
catpackBuild="$root/build/harvester-catpack"
work="$root/build/harvester-work"
mkdir -p "$work"

# The second sources come from Debian packages, installed through apt-get when missing.
missing=()
for package in directx-headers-dev librust-winapi-dev; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=(); [ "$(id -u)" = 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

python3 -m unittest discover -s "$root/tools/harvest/tests" -q

# catpack links the core library, which embeds the block: it needs some block to exist.
[ -e "$root/data/catalogue.jc" ] || : >"$root/data/catalogue.jc"
cmake -S "$root" -B "$catpackBuild" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DMIRRAVEL_BENCHMARKS=OFF >"$work/catpack-configure.log"
ninja -C "$catpackBuild" -j2 catpack >"$work/catpack-build.log"

python3 "$root/tools/harvest/harvest.py" catalogue --output "$root/data/catalogue.txt" \
  --report "$work/report.json" --work "$work"
# A second, independent check of every value (static assertions) before the text is packed.
python3 "$root/tools/harvest/verify.py" "$root/data/catalogue.txt" --report "$work/report.json" \
  --work "$work"
"$catpackBuild/catpack" pack "$root/data/catalogue.txt" "$root/data/catalogue.jc"
python3 "$root/tools/harvest/harvest.py" readme --catalogue "$root/data/catalogue.txt" \
  --block "$root/data/catalogue.jc" --report "$work/report.json" --output "$root/data/README.md"
echo "data/catalogue.txt: $(wc -l <"$root/data/catalogue.txt") lines, $(wc -c <"$root/data/catalogue.txt") bytes;" \
  "data/catalogue.jc: $(wc -c <"$root/data/catalogue.jc") bytes"
