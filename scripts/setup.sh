#!/usr/bin/env bash
# Installs what building and testing need on Debian, only what is missing: MinGW-w64,
# Wine with its fonts (Marlett draws the caption buttons), Xvfb, the Japanese locale, a
# CJK font and IPA P Gothic (the metrics of the faces the programs name), clang with
# libFuzzer, GoogleTest, and chmcmd and chmls for the manual.
set -euo pipefail

packages=(
    cmake make g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine64 xvfb xauth x11-utils imagemagick
    locales fontconfig fonts-noto-cjk fonts-ipafont-gothic fonts-wine fp-utils
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    "${sudo_cmd[@]}" sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo_cmd[@]}" locale-gen >/dev/null
fi
