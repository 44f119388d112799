#!/bin/sh
# Fails when the program imports at load time a DLL that it should load only
# when first needed.   imports.sh OBJDUMP EXE DLL...
set -eu
objdump=$1
exe=$2
shift 2
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
# A reading that found nothing would let anything pass.
echo "$imports" | grep -qx user32.dll || {
    echo "no import table read from $exe" >&2
    exit 1
}
for dll in "$@"; do
    if echo "$imports" | grep -qx "$dll"; then
        echo "$exe imports $dll at load time" >&2
        exit 1
    fi
done
echo "imports:" $imports
