#!/bin/bash
# Compiles the manual: compile_manual.sh CHMCMD SOURCE_DIR PROJECT_FILE STAGE_DIR OUTPUT
#
# The sources are UTF-8; HTML Help reads a Japanese manual (language 0x411) in CP932, so
# every page, the contents, the index and the project are converted into the stage, and
# the pages' charset declaration with them. A character CP932 lacks stops the build.
#
# chmcmd writes each context alias as the project folder's absolute path followed by the
# page, which no viewer can find inside the manual. Run in a private root whose "/" is the
# stage, the folder is "/" and the alias becomes "/page.htm", the manual's own path.
set -euo pipefail
chmcmd=$1 source=$2 project=$3 stage=$4 output=$5

rm -rf "$stage"
mkdir -p "$stage/images"
to_cp932() {
    iconv -f UTF-8 -t CP932 "$1" | sed 's/charset=utf-8/charset=Shift_JIS/' > "$2"
}
for file in "$source"/*.htm "$source"/*.hhc "$source"/*.hhk; do
    to_cp932 "$file" "$stage/$(basename "$file")"
done
to_cp932 "$project" "$stage/Lumera.hhp"
cp "$source/style.css" "$stage/"
if compgen -G "$source/images/*.png" > /dev/null; then
    cp "$source"/images/*.png "$stage/images/"
fi

chmcmd=$(readlink -f "$(command -v "$chmcmd")")
private_root() {
    # The system folders the compiler needs, seen inside the stage; the stage becomes "/".
    unshare --map-root-user --mount sh -e -c '
        cd "$1"
        for dir in usr lib lib32 lib64 libx32 bin; do
            if [ -L "/$dir" ]; then
                ln -s "$(readlink "/$dir")" "$dir"
            elif [ -d "/$dir" ]; then
                mkdir "$dir"
                mount --rbind "/$dir" "$dir"
            fi
        done
        exec chroot . "$2" --no-html-scan Lumera.hhp
    ' private-root "$stage" "$chmcmd"
}
(cd "$stage" && private_root) > "$stage/compile.log" 2>&1 || {
    cat "$stage/compile.log" >&2
    echo "compile_manual.sh: chmcmd could not run in a private root (user namespaces)" >&2
    exit 1
}
grep -i -E '^(Error|Warning)' "$stage/compile.log" >&2 && exit 1
mkdir -p "$(dirname "$output")"
mv "$stage/Lumera.chm" "$output"
