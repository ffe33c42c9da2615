#!/usr/bin/env bash
# A picture drawn in 4 bands by GNU parallel and joined is the single run's, byte for byte.
set -euo pipefail
render=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
opts=(--example 10 --picture periodicity --size 160x97 --overlay --seed 3)
"$render" --quiet "${opts[@]}" --grid single.grid single.png
VORLA_RENDER=$render VORLA_GRID=joined.grid "$root/scripts/cluster/parallel-bands.sh" 4 joined.png \
    -j 2 -- "${opts[@]}"
cmp single.png joined.png
cmp single.grid joined.grid
[ -z "$(ls joined.png.band-* 2>/dev/null)" ] || { echo "band files left behind"; exit 1; }
echo "4 bands joined into the single run's picture and grid"
