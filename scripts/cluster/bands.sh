# Shared by the cluster scripts: the rows of each band of a picture. Sourced.
# vorla_band_rows HEIGHT BANDS prints one FIRST:LAST per line, BANDS lines, top to bottom.
vorla_band_rows() {
    local height=$1 bands=$2 i
    for ((i = 0; i < bands; i++)); do
        echo "$((i * height / bands)):$(((i + 1) * height / bands - 1))"
    done
}
# vorla_picture_height OPTIONS... prints the height that --size gives (450 without it).
vorla_picture_height() {
    local size=542x450
    while [ $# -gt 0 ]; do
        [ "$1" = --size ] && [ $# -gt 1 ] && size=$2
        shift
    done
    echo "${size#*x}"
}
