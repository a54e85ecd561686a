#!/bin/sh
# Counts the program's own work: the instructions (callgrind) per byte of the
# reply for each set of bench/run.sh at 65,535 lines, in CP866 and in UTF-8
# (LF line ends): the hard, easy, 10,000-macro and 10,000-name sets and the
# random sets of SEEDS (default 1 to 5). A count this machine's load cannot
# blur, unlike the times. Prints a row per case, then the worst of each
# charset against the targets (35 and 45 per byte).
# Usage: bench/ipb.sh [build dir] (default build/default). Needs valgrind.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/default}" && pwd)
seeds=${SEEDS:-1 2 3 4 5}
command -v valgrind >/dev/null || { echo "bench/ipb.sh needs valgrind"; exit 1; }
cmake --build "$build" --target salvetor >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

printf '%-10s %-6s %9s %13s %8s\n' set chars bytes instructions per_byte
worst_cp866="0 -" worst_utf8="0 -"
for set in hard easy macros10k names10k $(for n in $seeds; do echo "seed$n"; done); do
  dir=$work/$set
  case $set in
    seed*) python3 "$here/generate.py" --set random --seed "${set#seed}" "$dir" 65535 ;;
    *) python3 "$here/generate.py" --set "$set" "$dir" 65535 ;;
  esac
  cp "$build/salvetor" "$dir/"
  iconv -f CP866 -t UTF-8 "$dir/reply-65535.txt" | tr -d '\r' >"$dir/reply-utf8.txt"
  for chars in CP866 UTF-8; do
    if [ "$chars" = CP866 ]; then reply=$dir/reply-65535.txt; else reply=$dir/reply-utf8.txt; fi
    cp "$reply" "$dir/r.txt"
    count=$(cd "$dir" && valgrind --tool=callgrind --callgrind-out-file=/dev/null ./salvetor r.txt /F /Key- \
      </dev/null 2>&1 >/dev/null | sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
    bytes=$(wc -c <"$reply")
    per=$(awk -v i="$count" -v b="$bytes" 'BEGIN {printf "%.1f", i / b}')
    printf '%-10s %-6s %9s %13s %8s\n' "$set" "$chars" "$bytes" "$count" "$per"
    if [ "$chars" = CP866 ]; then
      worst_cp866=$(awk -v w="$worst_cp866" -v p="$per" -v s="$set" 'BEGIN {split(w, a, " "); print (p + 0 > a[1] + 0) ? p " " s : w}')
    else
      worst_utf8=$(awk -v w="$worst_utf8" -v p="$per" -v s="$set" 'BEGIN {split(w, a, " "); print (p + 0 > a[1] + 0) ? p " " s : w}')
    fi
  done
done
echo
echo "the worst per byte: CP866 $worst_cp866 (target at most 35), UTF-8 $worst_utf8 (target at most 45)"
