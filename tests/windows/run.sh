#!/usr/bin/env bash
# Cross-compiles the launcher's Windows code with its test program and runs it
# under Wine, in a Wine prefix of its own inside the build folder.
#   run.sh SOURCE_DIR WORK_DIR COMPILER WINE WINESERVER
set -euo pipefail
source_dir=$1 work=$2 compiler=$3 wine=$4 wineserver=$5

export WINEPREFIX="$work/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$work"

# A new prefix takes longer to make than the program takes to build: make it
# meanwhile.
boot=""
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >"$work/wineboot.log" 2>&1 &
    boot=$!
fi

sources=(about/sysinfo.cpp about/systemplatform_windows.cpp tests/windows/tst_sysinfo_windows.cpp)
objects=() jobs=()
for source in "${sources[@]}"; do
    object="$work/$(basename "$source" .cpp).o"
    "$compiler" -std=c++17 -O1 -Wall -Wextra -I "$source_dir/about" -c "$source_dir/$source" -o "$object" &
    jobs+=($!) objects+=("$object")
done
for job in "${jobs[@]}"; do wait "$job"; done
program="$work/tst_sysinfo_windows.exe"
"$compiler" -static "${objects[@]}" -o "$program" -ladvapi32
[ -z "$boot" ] || wait "$boot"

status=0
"$wine" "$program" || status=$?
"$wineserver" -w
exit "$status"
