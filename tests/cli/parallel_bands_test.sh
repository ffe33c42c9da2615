#!/usr/bin/env bash
# A picture drawn in 4 bands by GNU parallel and joined is the single run's, byte for byte,
# with names and values that a shell would split or run (blanks, quotes, ";", "$(...)"); a
# band that fails is named, and nothing is left.
set -euo pipefail
render=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
out="joined 'x;touch INJECTED;\$(touch INJECTED2)\".png"
opts=(--example 10 --picture periodicity --size 160x97 --overlay --seed 3 --set 'EditKd=1/3')
"$render" --quiet "${opts[@]}" --grid single.grid single.png
VORLA_RENDER=$render VORLA_GRID="$out.grid" "$root/scripts/cluster/parallel-bands.sh" 4 "$out" \
    -j 2 -- "${opts[@]}"
cmp single.png "$out"
cmp single.grid "$out.grid"
[ ! -e INJECTED ] && [ ! -e INJECTED2 ] || { echo "a name was run as a command"; exit 1; }
[ -z "$(ls -- *.band-* 2>/dev/null)" ] || { echo "band files left behind"; exit 1; }
echo "4 bands joined into the single run's picture and grid"

# A renderer that fails on the third band (rows 48:71).
cat >failing <<SH
#!/usr/bin/env bash
for a; do [ "\$a" = 48:71 ] && { echo "no room for this band" >&2; exit 1; }; done
exec "$render" "\$@"
SH
chmod +x failing
if VORLA_RENDER=$tmp/failing "$root/scripts/cluster/parallel-bands.sh" 4 failed.png -j 1 -- \
    "${opts[@]}" 2>err; then
    echo "a failed band gave a picture"; exit 1
fi
grep -q "band 3 (rows 48:71) failed (exit 1)" err || { cat err; exit 1; }
[ -z "$(ls -a | grep -e 'failed\.png' -e '^\.vorla-')" ] || { ls -a; echo "files left"; exit 1; }
echo "a failed band is named and nothing is left"
