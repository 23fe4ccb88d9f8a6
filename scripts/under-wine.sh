#!/bin/sh
# Runs a Windows test program under Wine (the loader is the first argument). Wine stays
# quiet unless the developer asks for more for this run:
#   LUMERA_WINEDEBUG=...   Wine's debug channels, e.g. "+seh,+relay" or "warn+heap"
#   LUMERA_HEAPCHECK=1     Wine's heap checking and glibc's (MALLOC_CHECK_=3) for the Unix side
# Programs the test starts inherit both.
WINEDEBUG="${LUMERA_WINEDEBUG:--all}"
if [ "${LUMERA_HEAPCHECK:-0}" = 1 ]; then
    WINEDEBUG="$WINEDEBUG,warn+heap"
    # Since glibc 2.34 MALLOC_CHECK_ works only with the debug library preloaded.
    for library in /lib/x86_64-linux-gnu/libc_malloc_debug.so.0 /usr/lib64/libc_malloc_debug.so.0; do
        if [ -e "$library" ]; then
            export LD_PRELOAD="$library${LD_PRELOAD:+:$LD_PRELOAD}"
            break
        fi
    done
    export MALLOC_CHECK_=3
    # glibc reports a heap abort on the terminal unless told to use standard error.
    export LIBC_FATAL_STDERR_=1
fi
export WINEDEBUG
# Wine makes the desktop's Trash folder in XDG_DATA_HOME but not XDG_DATA_HOME itself; in a
# fresh build nothing else may have made it yet, and then no deleted item reaches the bin.
if [ -n "${XDG_DATA_HOME:-}" ]; then
    mkdir -p "$XDG_DATA_HOME"
fi
exec "$@"
