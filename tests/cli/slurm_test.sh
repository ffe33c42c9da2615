#!/usr/bin/env bash
# The Slurm recipes against stand-ins for Slurm's commands (tests/cli/fake-slurm): names and
# values a shell would split or run reach the renderer whole; a failed band or run of frames
# cancels the join and is named; the frames and video of a movie are the single run's;
# slurm-check ends at its deadline, and puts back the system's configuration, stops the
# daemons it started and removes what it made, whatever the outcome.
set -uo pipefail
render=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export FAKE_SLURM_DIR=$tmp/slurm PATH="$root/tests/cli/fake-slurm:$PATH"
mkdir -p "$FAKE_SLURM_DIR"
cd "$tmp" || exit 1
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
state() { cat "$FAKE_SLURM_DIR/job-$1.state"; }
opts=(--example 10 --picture periodicity --size 60x37 --seed 3 --set 'EditKd=1/3')
"$render" --quiet "${opts[@]}" single.png
# A renderer that fails on the second of three bands (rows 12:23).
cat >failing <<SH
#!/usr/bin/env bash
for a; do [ "\$a" = 12:23 ] && { echo "no room for this band" >&2; exit 1; }; done
exec "$render" "\$@"
SH
chmod +x failing

out="joined 'x;touch INJECTED;\$(touch INJECTED2)\".png"
join=$(VORLA_RENDER=$render "$root/scripts/cluster/slurm-array.sh" 3 "$out" --partition=check \
    -- "${opts[@]}" 2>/dev/null)
[ "$(state "$join")" = COMPLETED ] || fail "the join job ended $(state "$join")"
cmp single.png "$out" || fail "the joined picture is not the single run's"
[ ! -e INJECTED ] && [ ! -e INJECTED2 ] || fail "a name was run as a command"
[ -z "$(ls -- *.band-* 2>/dev/null)" ] || fail "band files left behind"
[ -e "$FAKE_SLURM_DIR/job-$join.kill-on-invalid-dep" ] || fail "the join outlives a failed band"

join=$(VORLA_RENDER=$tmp/failing "$root/scripts/cluster/slurm-array.sh" 3 failed.png -- \
    "${opts[@]}" 2>/dev/null)
[ "$(state "$join")" = CANCELLED ] || fail "after a failed band the join job is $(state "$join")"
grep -qx "band 2 (rows 12:23) failed (exit 1)" failed.png.failed || fail "the failed band unnamed"
[ ! -e failed.png ] || fail "a picture was joined without a band"

# A movie: 7 frames in 3 tasks (1:2, 3:4, 5:7), into a folder and into a video.
keyframe() { # keyframe FILE D FROM TO YREL
    cat >"$1" <<JSON
{"format": "vorla-scene", "version": 1, "taskType": 3, "picture": "convergence",
 "controls": {"EditKd": "$2", "EditKr": "2.5", "EditKm": "0.87", "EditKn": "0.75",
              "EditKs": "1.0", "edtXod": "$3", "edtXdo": "$4", "edtYzero": "$5"}}
JSON
}
keyframe "a 'x;\$(touch INJECTED)\".json" 3 -3 7 1/3
keyframe b.json 3.2 0.35 0.45 0.16
movie=(--animate "a 'x;\$(touch INJECTED)\".json" b.json --frames 7 --size 48x32 --fps 10)
"$render" --quiet "${movie[@]}" single
"$render" --quiet "${movie[@]}" single.mp4
mout="frames 'x;touch INJECTED;\$(touch INJECTED2)\""
array=$(VORLA_RENDER=$render "$root/scripts/cluster/slurm-frames.sh" 3 "$mout" -- "${movie[@]}" \
    2>/dev/null)
[ "$(state "$array")" = COMPLETED ] || fail "the frames' job ended $(state "$array")"
diff -r single "$mout" >/dev/null || fail "the frames are not the single run's"
join=$(VORLA_RENDER=$render "$root/scripts/cluster/slurm-frames.sh" 3 "$mout.mp4" -- \
    "${movie[@]}" 2>/dev/null)
[ "$(state "$join")" = COMPLETED ] || fail "the video's join job ended $(state "$join")"
cmp single.mp4 "$mout.mp4" || fail "the joined video is not the single run's"
[ ! -e "$mout.mp4.frames" ] || fail "the video's frames left behind"
[ -e "$FAKE_SLURM_DIR/job-$join.kill-on-invalid-dep" ] || fail "the video outlives a failed task"
[ ! -e INJECTED ] && [ ! -e INJECTED2 ] || fail "a name was run as a command"
cat >failing-frames <<SH
#!/usr/bin/env bash
for a; do [ "\$a" = 3:4 ] && { echo "no room for these frames" >&2; exit 1; }; done
exec "$render" "\$@"
SH
chmod +x failing-frames
join=$(VORLA_RENDER=$tmp/failing-frames "$root/scripts/cluster/slurm-frames.sh" 3 failed.mp4 -- \
    "${movie[@]}" 2>/dev/null)
[ "$(state "$join")" = CANCELLED ] || fail "after a failed task the join job is $(state "$join")"
grep -qx "frames 3:4 (task 2) failed (exit 1)" failed.mp4.failed || fail "the failed task unnamed"
[ ! -e failed.mp4 ] || fail "a video was made without a task"

# slurm-check: the system's slurm.conf backed up and put back, the daemons stopped, the folders
# and key it made removed, after a success, a failed band and a deadline.
sys=$tmp/sys
mkdir -p "$sys/etc/slurm"
echo "the system's own" >"$sys/etc/slurm/slurm.conf"
before=$(cd "$sys" && find . | sort)
check() { # check CODE TEXT [ENV...]: slurm-check ends with CODE, saying TEXT
    local code=$1 text=$2
    shift 2
    env VORLA_SLURM_SYSROOT="$sys" "$@" "$root/scripts/cluster/slurm-check" 3 "${opts[@]}" \
        >log 2>&1
    local got=$?
    [ $got = "$code" ] && grep -qF -- "$text" log || fail "slurm-check gave $got: $(cat log)"
    [ "$(cat "$sys/etc/slurm/slurm.conf")" = "the system's own" ] || fail "slurm.conf not put back"
    [ "$(cd "$sys" && find . | sort)" = "$before" ] || fail "left: $(cd "$sys" && find . | sort)"
    for d in munged slurmctld slurmd; do # (an ended one may wait a moment to be reaped)
        ps -eo stat=,comm= | awk -v d=$d '$1 !~ /^Z/ && $2 == d {f = 1} END {exit !f}' &&
            fail "$d still runs"
    done
}
check 0 "2 passed, 0 failed" VORLA_RENDER="$render" VORLA_SLURM_FRAMES=4
[ "$(sort "$FAKE_SLURM_DIR/daemons" | tr '\n' ' ')" = "munged slurmctld slurmd " ] ||
    fail "the daemons started: $(cat "$FAKE_SLURM_DIR/daemons")"
check 1 "band 2 (rows 12:23) failed (exit 1)" VORLA_RENDER="$tmp/failing"
check 1 "the jobs did not end within 2 s: cancelled" VORLA_RENDER="$render" FAKE_SLURM_HANG=1 \
    VORLA_SLURM_DEADLINE=2
[ "$(wc -l <"$FAKE_SLURM_DIR/cancelled")" -ge 2 ] || fail "the jobs were not cancelled"
exit $((failures > 0))
