#!/bin/sh
# Runs the built program on a copy of the example reply with the default data
# beside it, then shows the result (recoded from CP866 for the terminal).
set -e
build=$1
source=$2
work="$build/example"
rm -rf "$work"
mkdir -p "$work"
cp "$source/examples/reply.txt" "$work/reply.txt"
"$build/salvetor" "$work/reply.txt" /F /Key- </dev/null
echo
echo "=== $work/reply.txt, the result:"
if command -v iconv >/dev/null 2>&1; then
  iconv -f CP866 -t UTF-8 "$work/reply.txt" | tr -d '\r' | tr '\001' '@'
else
  tr -d '\r' <"$work/reply.txt"
fi
echo "=== the previous text is kept in $work/reply.~txt"
