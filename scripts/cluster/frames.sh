# Shared by the movie recipes: the options they read, and the frames of each task. Sourced.
# vorla_option NAME DEFAULT OPTIONS... prints the value of the last NAME among OPTIONS, else
# DEFAULT.
vorla_option() {
    local name=$1 value=$2
    shift 2
    while [ $# -gt 0 ]; do
        [ "$1" = "$name" ] && [ $# -gt 1 ] && value=$2
        shift
    done
    echo "$value"
}
# vorla_frame_ranges FRAMES TASKS prints one FIRST:LAST per line (frames from 1), TASKS lines
# of as many frames each as may be; TASKS is at most FRAMES.
vorla_frame_ranges() {
    local frames=$1 tasks=$2 i
    for ((i = 0; i < tasks; i++)); do
        echo "$((i * frames / tasks + 1)):$(((i + 1) * frames / tasks))"
    done
}
# vorla_movie_folder OUT prints the folder of OUT's frames: OUT itself, or OUT.frames for a
# video.
vorla_movie_folder() {
    case $1 in
        *.mp4 | *.webm | *.gif | *.MP4 | *.WEBM | *.GIF) echo "$1.frames" ;;
        *) echo "$1" ;;
    esac
}
