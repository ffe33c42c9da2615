#!/usr/bin/env bash
# A movie's frames drawn by GNU parallel are the one run's, byte for byte, and so is the video
# made of them, with names and values that a shell would split or run (blanks, quotes, ";",
# "$(...)"); a frame that fails is named, and nothing is left.
set -euo pipefail
render=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
# Example 03 and a view 100 times narrower about the point (0.4, 0.28), D moving too.
key() { # key FILE D FROM TO YREL
    cat >"$1" <<JSON
{"format": "vorla-scene", "version": 1, "taskType": 3, "picture": "convergence",
 "controls": {"EditKd": "$2", "EditKr": "2.5", "EditKm": "0.87", "EditKn": "0.75",
              "EditKs": "1.0", "edtXod": "$3", "edtXdo": "$4", "edtYzero": "$5"}}
JSON
}
key "a 'x;\$(touch INJECTED)\".json" 3 -3 7 1/3
key b.json 3.2 0.35 0.45 0.16
opts=(--animate "a 'x;\$(touch INJECTED)\".json" b.json --frames 7 --size 64x48
    --set 'EditKr=5/2' --ease smooth --fps 10)
"$render" --quiet "${opts[@]}" single
"$render" --quiet "${opts[@]}" single.mp4
out="joined 'x;touch INJECTED;\$(touch INJECTED2)\""
VORLA_RENDER=$render "$root/scripts/cluster/parallel-frames.sh" "$out" -j 2 -- "${opts[@]}"
diff -r single "$out"
VORLA_RENDER=$render "$root/scripts/cluster/parallel-frames.sh" "$out.mp4" -j 2 -- "${opts[@]}"
cmp single.mp4 "$out.mp4"
[ ! -e INJECTED ] && [ ! -e INJECTED2 ] || { echo "a name was run as a command"; exit 1; }
[ ! -e "$out.mp4.frames" ] || { echo "the video's frames were left behind"; exit 1; }
echo "7 frames drawn apart make the single run's frames and video"

# A renderer that fails on the fourth frame.
cat >failing <<SH
#!/usr/bin/env bash
for a; do [ "\$a" = 4:4 ] && { echo "no room for this frame" >&2; exit 1; }; done
exec "$render" "\$@"
SH
chmod +x failing
if VORLA_RENDER=$tmp/failing "$root/scripts/cluster/parallel-frames.sh" failed.mp4 -j 1 -- \
    "${opts[@]}" 2>err; then
    echo "a failed frame gave a movie"; exit 1
fi
grep -q "frame 4 failed (exit 1)" err || { cat err; exit 1; }
[ -z "$(ls -a | grep -e 'failed\.mp4' -e '^\.vorla-')" ] || { ls -a; echo "files left"; exit 1; }
echo "a failed frame is named and nothing is left"
