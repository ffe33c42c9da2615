#!/usr/bin/env bash
# scripts/check-layers refuses an upward include, one between two folders of one height and,
# inside app, one between two units of one level or up its levels.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
for case in "plane/viewport.cpp:app/session.h" "pictures/driver.cpp:overlays/basic_circles.h" \
            "model/scene.cpp:../pictures/kinds.h" "app/mouse_tools.h:app/band_render.h" \
            "app/session.cpp:app/scene_render.h"; do
    rm -rf "$tmp/src" && cp -r "$root/src" "$tmp/src"
    file=${case%%:*} header=${case#*:}
    echo "#include \"$header\"" >>"$tmp/src/$file"
    if "$root/scripts/check-layers" "$tmp/src" 2>"$tmp/err"; then
        echo "not refused: $file including $header"; fail=1
    elif ! grep -q "$file" "$tmp/err"; then
        echo "refused without naming $file:"; cat "$tmp/err"; fail=1
    fi
done
"$root/scripts/check-layers" "$root/src" >/dev/null || { echo "the tree itself is refused"; fail=1; }
exit "$fail"
