#!/bin/sh
# Each program's start-up routine seeds the stack protector's guard, so its
# own frame must not carry the guard: on return it would find another one
# and end the program. Compiled as if every function were protected, the
# routine still reads no guard.
# Usage: check-stack-guard.sh COMPILER SOURCE_DIR
compiler=$1
root=$2
status=0
for source in setup/main.cpp remove/main.cpp; do
    body=$("$compiler" -S -o - -O2 -fstack-protector-all -I"$root/common" -I"$root/common/text" \
               -I"$root/setup" -I"$root/remove" "$root/$source" | sed -n '/^_ZL11StartSafelyv:/,/seh_endproc/p')
    if [ -z "$body" ]; then
        echo "$source: no StartSafely"; status=1
    elif echo "$body" | grep -q __stack_chk; then
        echo "$source: StartSafely carries the stack guard"; status=1
    else
        echo "$source: StartSafely carries no stack guard"
    fi
done
exit $status
