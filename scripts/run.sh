#!/usr/bin/env bash
# Sets up, builds the programs and starts Lumera.exe in a Wine desktop. Without a display
# it starts Xvfb, saves a screenshot of the open tray menu, says where, and ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$repo_root/scripts/setup.sh"
echo "building the Windows programs..."
build_windows

echo "Programs (x86-64, statically linked):"
find "$windows_build/bin" -maxdepth 1 -name '*.exe' | sort | sed 's/^/  /'

had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    had_display=0
fi
ensure_display

prefix="$build_root/wineprefix-run"
if [ ! -d "$prefix" ]; then
    fresh_wine_prefix "$prefix"
fi
export WINEPREFIX="$prefix"

if [ "$had_display" -eq 1 ]; then
    echo "starting Lumera.exe in a Wine desktop (end it from its tray menu: 終了(X))"
    exec "$wine_loader" "$windows_build/bin/Lumera.exe"
fi

shot="$build_root/lumera-tray-menu.bmp"
"$wine_loader" "$windows_build/bin/Lumera.exe" &
lumera_pid=$!
if "$wine_loader" "$windows_build/tests/bin/lumera_tray_shot.exe" "$(winepath_of "$shot")"; then
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    echo "Lumera is running; screenshot of its tray menu: ${shot%.bmp}.png"
else
    echo "could not open the tray menu" >&2
fi
"$wineserver" -k >/dev/null 2>&1 || true
wait "$lumera_pid" 2>/dev/null || true
