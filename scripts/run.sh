#!/usr/bin/env bash
# Sets up, builds the programs and the installation package, installs the suite into its
# Wine prefix with the package's Setup.exe (when it is not installed yet or the build is
# newer) and starts the installed Lumera.exe in a Wine desktop. Without a display it starts
# Xvfb, saves a screenshot of the open tray menu, says where, and ends.
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
    # Wine links the prefix's desktop to the Unix home; the installer's desktop shortcut
    # belongs inside the prefix.
    desktop="$prefix/drive_c/users/$(id -un)/Desktop"
    if [ -L "$desktop" ]; then
        rm "$desktop" && mkdir "$desktop"
    fi
fi
export WINEPREFIX="$prefix"

# Where the suite is installed in the prefix, as its uninstall record says; empty when it is not.
installed_folder() {
    "$wine_loader" reg query 'HKCU\Software\Morivane\BrisaSetup\Lumera Deck' /v SetupPath 2>/dev/null |
        tr -d '\r' | sed -n 's/^ *SetupPath *REG_SZ *//p' || true
}

# True when the package holds a file the installation lacks or has in an older build.
# Whole seconds: Windows keeps time stamps in 100 ns steps.
needs_install() { # installed-folder (Unix)
    local file installed
    for file in "$package_dir"/*; do
        case "${file##*/}" in Setup.exe | Setup.dat) continue ;; esac
        installed="$1/${file##*/}"
        [ -f "$installed" ] || return 0
        [ "$(stat -c %Y "$file")" -gt "$(stat -c %Y "$installed")" ] && return 0
    done
    return 1
}

# Installs the staged package as a user would, silently; again when the build is newer
# than what is installed (an update).
folder="$(installed_folder)"
unix_folder=""
[ -n "$folder" ] && unix_folder="$("$wine_loader" winepath -u "$folder" 2>/dev/null)"
if [ -z "$unix_folder" ] || [ ! -d "$unix_folder" ] || needs_install "$unix_folder"; then
    echo "installing Lumera Deck from $package_dir (Setup.exe /SILENT)..."
    status=0
    "$wine_loader" "$package_dir/Setup.exe" /SILENT "/LOG=$(winepath_of "$build_root/setup-run.log")" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "Setup.exe /SILENT ended with exit code $status; its log: $build_root/setup-run.log" >&2
        exit 1
    fi
    folder="$(installed_folder)"
    unix_folder="$("$wine_loader" winepath -u "$folder" 2>/dev/null)"
    if [ -z "$folder" ] || [ ! -f "$unix_folder/Lumera.exe" ]; then
        echo "Setup.exe reported success, but Lumera.exe is not installed" >&2
        exit 1
    fi
fi
lumera="${unix_folder%/}/Lumera.exe"
echo "Lumera Deck is installed in $folder ($lumera)"

if [ "$had_display" -eq 1 ]; then
    echo "starting the installed Lumera.exe in a Wine desktop (end it from its tray menu: 終了(X))"
    exec "$wine_loader" "$lumera"
fi

shot="$build_root/lumera-tray-menu.bmp"
"$wine_loader" "$lumera" &
lumera_pid=$!
if "$wine_loader" "$windows_build/tests/bin/lumera_tray_shot.exe" "$(winepath_of "$shot")"; then
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    echo "Lumera is running; screenshot of its tray menu: ${shot%.bmp}.png"
else
    echo "could not open the tray menu" >&2
fi
"$wineserver" -k >/dev/null 2>&1 || true
wait "$lumera_pid" 2>/dev/null || true
