# Shared settings of the build and run scripts (sourced, not run).
repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_root="$repo_root/build"
native_build="$build_root/native"
windows_build="$build_root/windows"
fuzz_build="$build_root/fuzz"
package_dir="$build_root/package" # staged by the Windows build: Setup.exe, Setup.dat, programs
wine_loader=/usr/lib/wine/wine64 # Debian's wine64 keeps these off PATH
wineserver=/usr/lib/wine/wineserver64
jobs="$(nproc)"

export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
# winemenubuilder would copy the test desktop's links into the Unix home as .desktop files.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

configure_and_build() { # build-dir [cmake options...]
    local dir="$1"
    shift
    cmake -S "$repo_root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1 || { tail -50 "$dir.build.log"; return 1; }
}

build_windows() {
    mkdir -p "$build_root"
    configure_and_build "$windows_build" -DCMAKE_TOOLCHAIN_FILE="$repo_root/cmake/mingw-w64-x86_64.cmake"
}

# Wine draws caption buttons, menu check marks and arrows with the symbol font Marlett.
# Debian's Wine never loads the fonts of its own data folder (fonts-wine puts them in
# /usr/share/wine/fonts), so without this the buttons show the letters "0 1 r" in whatever
# font stands in, under any locale. Wine does load the prefix's Windows\Fonts folder; it
# rescans the folder when it changes, so a copy after wineboot is enough.
marlett_font=/usr/share/wine/fonts/marlett.ttf
install_marlett() {
    if [ ! -f "$marlett_font" ]; then
        echo "warning: $marlett_font is missing (package fonts-wine); caption buttons will show letters" >&2
        return 0
    fi
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$marlett_font" "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
}

# A Wine prefix of its own, made fresh: never the user's ~/.wine.
# The Japanese faces the programs ask for, each with the IPA face of the same metrics
# (fonts-ipafont-gothic): what most users see, whose Windows has the faces. Without
# them Wine falls back to another, taller Japanese font, as a Windows installed in another
# language does.
japanese_font_replacements=(
    "ＭＳ Ｐゴシック=IPAPGothic" "MS PGothic=IPAPGothic" "MS UI Gothic=IPAPGothic"
    "ＭＳ ゴシック=IPAGothic" "MS Gothic=IPAGothic"
)

substitute_japanese_fonts() {
    local pair
    # grep reads to the end: quitting at the first match would end fc-list with SIGPIPE,
    # which pipefail counts as the font missing.
    if ! fc-list : family 2>/dev/null | grep IPAPGothic >/dev/null; then
        echo "warning: IPA P Gothic is missing (package fonts-ipafont-gothic); the prefix shows the fallback font" >&2
        return 0
    fi
    for pair in "${japanese_font_replacements[@]}"; do
        "$wine_loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" /f \
            >/dev/null 2>&1
    done
}

fresh_wine_prefix() { # prefix-dir [fallback-fonts]
    export WINEPREFIX="$1"
    "$wineserver" -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    "$wine_loader" wineboot -i >/dev/null 2>&1
    install_marlett
    if [ "${2:-}" != fallback-fonts ]; then
        substitute_japanese_fonts
    fi
    # One virtual desktop with a shell tray for every program of the prefix.
    "$wine_loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$wine_loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    "$wineserver" -w
}

# Turns the screenshots the tests saved as BMP into PNG beside them.
convert_screenshots() { # folder
    local bmp
    for bmp in "$1"/*.bmp; do
        [ -e "$bmp" ] || continue
        convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
    done
}

# Starts Xvfb when there is no display, and stops it when the script ends. It takes the
# first free display number from LUMERA_XVFB_NUMBER on (97 unless set, for machines that
# hand out display numbers).
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return
    fi
    local number="${LUMERA_XVFB_NUMBER:-97}"
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
    export DISPLAY=":$number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
    echo "Xvfb did not start" >&2
    return 1
}

# The Windows form of a Unix path (Wine's Z: drive is the root).
winepath_of() { printf 'Z:%s' "$(echo "$1" | sed 's#/#\\#g')"; }
