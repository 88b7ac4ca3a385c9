#!/bin/bash
# Folders include only folders below them. Prints every include that points
# up or sideways and fails when there is one.
set -u
root=${1:?project root}
declare -A allowed=(
    [base]=""
    [protocol]="base"
    [serial]="base protocol"
    [ui]="base"
    [settings]="base protocol serial ui"
    [panel]="base protocol serial ui"
    [app]="base protocol serial ui settings panel"
    [cli]="base protocol serial"
)
status=0
for folder in "${!allowed[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include "([a-z0-9_]+)\/.*/\1/' <<<"$line")
        [[ $target == "$folder" || -z ${allowed[$target]+x} ]] && continue
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file includes $target/, above or beside $folder/"
            status=1
        fi
    done < <(grep -rnE '#include "[a-z0-9_]+/' "$root/$folder" --include='*.h' --include='*.cpp')
done
exit $status
