#!/bin/bash
# The project's layers, lowest first; this list is the one statement of them.
# A folder includes only folders of lower layers (folders of one layer, such
# as app/ and cli/, never include each other). Prints every include that
# points up or sideways and fails when there is one.
set -u
root=${1:?project root}
layers=(
    "base"
    "protocol"
    "serial"
    "ui"
    "settings"
    "panel"
    "app cli"
    "tools"
    "tests"
    "bench"
)
declare -A level
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do
        level[$folder]=$i
    done
done
status=0
for folder in "${!level[@]}"; do
    [[ -d "$root/$folder" ]] || continue
    while IFS= read -r line; do
        file=${line%%:*}
        [[ $line =~ \#include\ \"([a-z0-9_]+)/ ]] || continue
        target=${BASH_REMATCH[1]}
        [[ $target == "$folder" || -z ${level[$target]+x} ]] && continue
        if ((level[$target] >= level[$folder])); then
            echo "$file includes $target/, above or beside $folder/"
            status=1
        fi
    done < <(grep -rnE '#include "[a-z0-9_]+/' "$root/$folder" --include='*.h' --include='*.cpp')
done
exit $status
