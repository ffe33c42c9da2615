# Shared by the cluster scripts: the rows of each band of a picture, and quoting. Sourced.
# vorla_band_rows HEIGHT BANDS prints one FIRST:LAST per line, BANDS lines, top to bottom.
vorla_band_rows() {
    local height=$1 bands=$2 i
    for ((i = 0; i < bands; i++)); do
        echo "$((i * height / bands)):$(((i + 1) * height / bands - 1))"
    done
}
# vorla_picture_height OPTIONS... prints the height that --size gives (450 without it). A
# scene file's own size is not known here: with --scene, --size must be given.
vorla_picture_height() {
    local size="" scene=""
    while [ $# -gt 0 ]; do
        [ "$1" = --size ] && [ $# -gt 1 ] && size=$2
        [ "$1" = --scene ] && scene=1
        shift
    done
    if [ -z "$size" ] && [ -n "$scene" ]; then
        echo "a picture of a scene file is drawn in bands only with --size" >&2
        return 2
    fi
    size=${size:-542x450}
    echo "${size#*x}"
}
# vorla_sh_quote WORD prints WORD quoted for any POSIX shell (sh runs Slurm's batch scripts,
# which knows no $'...'): in single quotes, each ' written as '\''.
vorla_sh_quote() {
    printf "'%s'" "${1//\'/\'\\\'\'}"
}
