#!/usr/bin/env bash
# Checks every .exe in a folder: PE32 for i386, GUI subsystem, and imports from
# the system's own DLLs only.
set -euo pipefail
dir=$1
objdump=i686-w64-mingw32-objdump
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll version.dll msvcrt.dll"

shopt -s nullglob
exes=("$dir"/*.exe)
if [ ${#exes[@]} -eq 0 ]; then
    echo "check_pe: no executables in $dir yet (program sources compiled only)"
    exit 0
fi

status=0
for exe in "${exes[@]}"; do
    info=$($objdump -p "$exe")
    name=$(basename "$exe")
    if ! grep -q "file format pei-i386" <<<"$info" || ! grep -q "^Magic[[:space:]]*010b" <<<"$info"; then
        echo "check_pe: $name is not a PE32 i386 image"; status=1
    fi
    if ! grep -Eq "^Subsystem[[:space:]]+00000002" <<<"$info"; then
        echo "check_pe: $name is not a GUI-subsystem program"; status=1
    fi
    while read -r dll; do
        lower=$(tr '[:upper:]' '[:lower:]' <<<"$dll")
        if ! grep -qw -- "$lower" <<<"$allowed"; then
            echo "check_pe: $name imports $dll, which is not a system DLL"; status=1
        fi
    done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info")
    [ $status -eq 0 ] && echo "check_pe: $name: PE32 i386, GUI, imports $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$info" | tr '\n' ' ')"
done
exit $status
