#!/usr/bin/env bash
# Sets up, builds the Windows programs and says where they are.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$repo_root/scripts/setup.sh"
echo "building the Windows programs..."
build_windows

programs=$(find "$windows_build/bin" -maxdepth 1 -name '*.exe' 2>/dev/null | sort)
if [ -z "$programs" ]; then
    echo "The shared library is built ($windows_build/src/shared); no programs exist yet."
else
    echo "Programs (x86-64, statically linked):"
    echo "$programs" | sed 's/^/  /'
fi
