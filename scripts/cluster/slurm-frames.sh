#!/usr/bin/env bash
# Submits a movie to Slurm as an array job of TASKS tasks, each drawing a run of its frames, and
# a join job that makes the video with ffmpeg once every task succeeded:
# scripts/cluster/slurm-frames.sh TASKS OUT [SBATCH-OPTIONS...] -- [vorla-render OPTIONS...],
# the options with --animate A.json B.json... and --frames N. OUT is a folder, where the frames
# stay (no join job), or a .mp4, .webm or .gif video, whose frames go to the folder OUT.frames,
# removed once the video is made (vorla-render --encode). The working folder must be shared by
# the nodes, and ffmpeg installed where the join runs. VORLA_RENDER names the renderer
# (default: build/src/vorla-render, as an absolute path). Prints the join job's id (the array's
# for a folder; both on stderr). A task that fails adds a line naming its frames to OUT.failed,
# and Slurm cancels the join job (--kill-on-invalid-dep): the frames drawn are kept for a
# second run of the others.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/bands.sh"
. "$here/frames.sh"
[ $# -ge 2 ] || { sed -n 2,12p "$0" >&2; exit 2; }
tasks=$1 out=$2
shift 2
sopts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do sopts+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
render=$(realpath "${VORLA_RENDER:-$here/../../build/src/vorla-render}")
frames=$(vorla_option --frames "" "$@")
[ -n "$frames" ] || { echo "slurm-frames: the options need --frames N" >&2; exit 2; }
[ "$tasks" -le "$frames" ] || tasks=$frames
ranges=$(vorla_frame_ranges "$frames" "$tasks" | tr '\n' ' ')
folder=$(vorla_movie_folder "$out")
# Every word goes into the batch scripts quoted for sh, which runs them.
q_render=$(vorla_sh_quote "$render") q_out=$(vorla_sh_quote "$out")
q_folder=$(vorla_sh_quote "$folder") q_failed=$(vorla_sh_quote "$out.failed")
q_args=""
for a in "$@"; do q_args="$q_args $(vorla_sh_quote "$a")"; done
rm -f -- "$out.failed"
# Task N draws the N-th run of frames of the list.
array=$(sbatch --parsable "${sopts[@]}" --array=1-"$tasks" --job-name=vorla-frames --wrap \
    "range=\$(echo $ranges | cut -d' ' -f\$SLURM_ARRAY_TASK_ID)
$q_render --quiet$q_args --frames-range \$range $q_folder
code=\$?
if [ \$code -ne 0 ]; then
    echo \"frames \$range (task \$SLURM_ARRAY_TASK_ID) failed (exit \$code)\" >>$q_failed
fi
exit \$code")
array=${array%%;*}
if [ "$folder" = "$out" ]; then
    echo "slurm-frames: the frames in job $array" >&2
    echo "$array"
    exit 0
fi
fps=$(vorla_sh_quote "$(vorla_option --fps 30 "$@")")
join=$(sbatch --parsable "${sopts[@]}" --dependency=afterok:"$array" --kill-on-invalid-dep=yes \
    --job-name=vorla-movie --wrap \
    "$q_render --quiet --encode $q_folder --frames $frames --fps $fps $q_out && rm -rf $q_folder")
echo "slurm-frames: the frames in job $array, the video made by job ${join%%;*}" >&2
echo "${join%%;*}"
