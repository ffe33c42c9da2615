#!/usr/bin/env bash
# The renderer's output files through links, on special files and folders, and the limits of
# memory and threads: each case its exit code, its message and what is left on disk.
set -u
render=$1 failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
    return 1
}
# run CODE TEXT OPTION...: a small picture with the options ends with CODE, saying TEXT.
run() {
    local code=$1 text=$2
    shift 2
    "$render" --quiet --size 8x6 "$@" >out 2>err
    local got=$?
    [[ $got == "$code" ]] && grep -qF -- "$text" <(cat err; echo) || fail "$* gave $got: $(cat err)"
}
check() { "$@" || fail "$*"; }
grid() { grep -q '^8 6 1$' "$1" || fail "no grid in $1"; }

echo old >plain.txt && chmod 640 plain.txt && ln -s plain.txt link.txt
echo old >hard.txt && ln hard.txt other-name.txt
mkdir folder && mkfifo fifo
# A link is followed: what it leads to is replaced, with its permissions. A file of two
# names is rewritten in place, so both show the new grid.
run 0 "" --grid link.txt a.png && grid plain.txt
check test -L link.txt -a "$(stat -c %a plain.txt)" = 640
run 0 "" --grid hard.txt a.png && grid other-name.txt
# Special files are written, never replaced; a folder is refused. As root a fault could
# replace the system's own nodes: copies of them are used then.
null=/dev/null full=/dev/full
[[ $(id -u) == 0 ]] && mknod null c 1 3 2>/dev/null && mknod full c 1 7 && null=null full=full
timeout 20 cat fifo >from-fifo &
run 0 "" --grid fifo a.png && wait && grid from-fifo
run 0 "" --grid $null a.png
run 1 "cannot write $full: No space left on device" --grid $full a.png
ln -s $full full.png
run 1 "cannot write full.png: No space left on device" full.png
check test -p fifo -a -c $null -a -c $full
run 1 "cannot write folder: Is a directory" --grid folder a.png
check test "$("$render" --quiet --size 3x2 --grid /dev/stdout a.png | head -1)" = "3 2 1"
# A pipe whose reader quits is a write error (SIGPIPE is ignored): exit 1, naming the file.
"$render" --quiet --size 400x300 --grid /dev/stdout a.png 2>err | head -c 10 >/dev/null
code=${PIPESTATUS[0]}
[[ $code == 1 ]] && grep -qF "cannot write /dev/stdout: Broken pipe" err ||
    fail "closed pipe gave $code: $(cat err)"
# Two outputs that are one file through a link or a hard link, or spelled two ways before
# either exists.
ln -s a.png alias.png && ln a.png hard-alias.png
run 2 "are the same file" --scale-image alias.png a.png
run 2 "are the same file" --grid hard-alias.png a.png
run 2 "are the same file" --scale-image ./new.png new.png
run 2 "are the same file" --grid "$work/new.png" new.png
check test ! -e new.png
ls -a | grep -q '^\.vorla-' && fail "a temporary file was left"

# A picture the memory cannot hold ends with a message (a BMP file needs the whole picture;
# a PNG one would be drawn a band at a time); the scene text needs no picture.
if (ulimit -v 400000 && "$render" --help >/dev/null 2>&1); then
    (ulimit -v 400000 && run 1 "cannot make a 16384x16384 picture: Out of memory" \
        --size 16384x16384 a.bmp && run 0 "" --print-scene --size 16384x16384) || fail memory
fi
# Threads refused after the first few (a process limit, which binds no root).
limit=(prlimit --nproc=$(($(ps -L -u "$(id -u)" --no-headers | wc -l) + 3)))
[[ $(id -u) == 0 ]] && limit=(setpriv --reuid=65534 --regid=65534 --clear-groups prlimit --nproc=3)
if "${limit[@]}" true 2>/dev/null && chmod 777 "$work"; then
    # (A sanitizer's leak check at the end needs a thread of its own.)
    ASAN_OPTIONS=detect_leaks=0 "${limit[@]}" "$render" --quiet --size 8x6 --threads 1024 \
        "$work/a.png" 2>err
    code=$?
    [[ $code == 1 ]] && grep -q "cannot start 1024 threads" err || fail "threads: $code $(cat err)"
fi
exit $((failures > 0))
