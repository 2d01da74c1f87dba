# Sourced by the scripts. A build folder belongs to the source folder and the
# place it was made for: in a checkout that was moved or copied, CMake refuses
# the old one ("The current CMakeCache.txt directory ... is different"). Such
# a folder is started afresh, and the scripts say so.
fresh_if_foreign() {  # build dir
    local dir="$1" cache="$1/CMakeCache.txt" made_in source
    [[ -f "$cache" ]] || return 0
    made_in=$(sed -n 's/^CMAKE_CACHEFILE_DIR:INTERNAL=//p' "$cache")
    source=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")
    [[ -n "$made_in" && "$made_in" -ef "$dir" && -n "$source" && "$source" -ef . ]] && return 0
    echo "The build folder $dir was made for $source; starting it afresh for $(pwd)."
    rm -rf "$dir"
}
