#!/bin/sh
# The Windows program on a console (Wine gives it one on a terminal that
# script(1) makes): its CP866 text must come out as the right characters,
# whatever the console's code page, through WriteConsoleW.
# Usage: tests/windows_console.sh WINDOWS_BUILD SOURCE_DIR
set -eu
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/salvetor.exe" "$source"/data/* "$work/"
cp "$source/examples/reply.txt" "$work/r.txt"
cd "$work"
LC_ALL=C.UTF-8 WINEDEBUG=-all script -qec "wine ./salvetor.exe r.txt /F /Key-" /dev/null </dev/null >console.txt 2>&1
# The terminal's control sequences and line ends aside, the lines as a
# UTF-8 terminal shows them.
sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' console.txt | tr -d '\r' >shown.txt
for line in "Changed: Sergey to Сеpёжа!" "Work done." "Normal shutdown. Exit code: 0."; do
  if ! grep -qxF "$line" shown.txt; then
    echo "not on the console: $line"
    LC_ALL=C tr -c '\n\t -~' '?' <shown.txt | tail -n 20
    exit 1
  fi
done
head -c 9 r.txt | grep -q Salvetor
echo "console: the text reads right"
