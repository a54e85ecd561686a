#!/bin/sh
# Times salvetor /F /Key- on generated replies of 1,000, 10,000 and 65,535
# lines (the largest also in UTF-8, "65535u") against sed doing only the Н -> H and р -> p replacement on the same
# bytes (the I/O floor). Prints medians of several runs, the ratios, the
# growth from 10,000 to 65,535 lines and the peak memory.
# Usage: bench/run.sh [build dir] (default build/default; build it first).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/default}" && pwd)
runs=${RUNS:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/salvetor" "$work/"
cp "$build/salvetor.RUS" "$work/" 2>/dev/null || true
python3 "$here/generate.py" "$work" 1000 10000 65535
# The largest reply again in UTF-8 with LF line ends, as a Linux editor keeps it.
iconv -f CP866 -t UTF-8 "$work/reply-65535.txt" | tr -d '\r' >"$work/reply-65535u.txt"

# Median wall time in milliseconds of running "$@" $runs times, each on a
# fresh copy of the reply (the program rewrites it).
median() {
  reply=$1; shift
  for i in $(seq "$runs"); do
    cp "$work/reply-$reply.txt" "$work/r.txt"
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 </dev/null
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
  done | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}

peak_kib() {
  cp "$work/reply-$1.txt" "$work/r.txt"
  /usr/bin/time -f %M "$work/salvetor" "$work/r.txt" /F /Key- 2>&1 >/dev/null </dev/null | tail -n 1
}

printf '%8s %10s %12s %10s %8s %14s %12s\n' lines bytes salvetor_ms sed_ms ratio peak_KiB limit_KiB
for n in 1000 10000 65535 65535u; do
  bytes=$(wc -c <"$work/reply-$n.txt")
  s=$(median "$n" "$work/salvetor" "$work/r.txt" /F /Key-)
  case $n in
    *u) f=$(median "$n" env LC_ALL=C sed -i 's/\xd0\x9d/H/g; s/\xd1\x80/p/g' "$work/r.txt") ;;
    *) f=$(median "$n" env LC_ALL=C sed -i 's/\x8d/H/g; s/\xe0/p/g' "$work/r.txt") ;;
  esac
  peak=$(peak_kib "$n" 2>/dev/null || echo "?")
  limit=$(( bytes * 4 / 1024 + 8192 ))
  ratio=$(awk -v a="$s" -v b="$f" 'BEGIN {printf "%.2f", a / b}')
  printf '%8s %10s %12s %10s %8s %14s %12s\n' "$n" "$bytes" "$s" "$f" "$ratio" "$peak" "$limit"
  case $n in *u) ;; *) eval "t$n=$s" ;; esac
done
awk -v a="$t10000" -v b="$t65535" 'BEGIN {printf "growth 10,000 -> 65,535 lines: %.2f x (linear: 6.55 x, limit 7.5 x)\n", b / a}'
