#!/bin/sh
# Times salvetor /F /Key- against sed doing only the Н -> H and р -> p swap
# on the same reply (the I/O floor), in one interleaved run per case (the two
# alternate, the first round is dropped, medians of ROUNDS rounds, default
# 11; sed under LC_ALL=C). sed's wall time includes an fsync of the file and
# of its folder after it (the durability the program's commit gives); CPU
# time is each one's own user + system time. Cases: the hard and the easy
# table sets at 1,000, 10,000 and 65,535 lines, in CP866 and in UTF-8 (LF
# line ends), the 10,000-macro and 10,000-name sets, and the random table
# sets of SEEDS (default 1 to 5: generate.py --set random) at 65,535 lines in
# both charsets. Prints a table with the ratios and the worst of them, then
# the targets. bench/ipb.sh counts the instructions per byte of the same sets.
# Usage: bench/run.sh [build dir] (default build/default).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/default}" && pwd)
rounds=${ROUNDS:-11}
cmake --build "$build" --target salvetor interleave minimal_rewrite >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

# case: set lines charset -> "salvetor_ms sed_ms peak_KiB salvetor_cpu sed_cpu bytes"
measure() {
  set_dir=$work/$1
  reply=$set_dir/reply-$2.txt
  if [ "$3" = UTF-8 ]; then
    iconv -f CP866 -t UTF-8 "$reply" | tr -d '\r' >"$set_dir/reply-$2-utf8.txt"
    reply=$set_dir/reply-$2-utf8.txt
    swap='s/\xd0\x9d/H/g; s/\xd1\x80/p/g'
  else
    swap='s/\x8d/H/g; s/\xe0/p/g'
  fi
  times=$("$build/interleave" "$rounds" "$reply" "$set_dir/r.txt" --sync \
    -- "$set_dir/salvetor" "$set_dir/r.txt" /F /Key- -- sed -i "$swap" "$set_dir/r.txt")
  echo "$times $(wc -c <"$reply")"
}

seeds=${SEEDS:-1 2 3 4 5}
rows="hard 1000 CP866
hard 10000 CP866
hard 65535 CP866
hard 1000 UTF-8
hard 10000 UTF-8
hard 65535 UTF-8
easy 1000 CP866
easy 10000 CP866
easy 65535 CP866
easy 65535 UTF-8
macros10k 65535 CP866
names10k 65535 CP866"
for n in $seeds; do rows="$rows
seed$n 65535 CP866
seed$n 65535 UTF-8"; done

for set in hard easy macros10k names10k $(for n in $seeds; do echo "seed$n"; done); do
  mkdir -p "$work/$set"
  case $set in hard|easy) counts="1000 10000 65535" ;; *) counts=65535 ;; esac
  # shellcheck disable=SC2086
  case $set in
    seed*) python3 "$here/generate.py" --set random --seed "${set#seed}" "$work/$set" $counts ;;
    *) python3 "$here/generate.py" --set "$set" "$work/$set" $counts ;;
  esac
  cp "$build/salvetor" "$work/$set/"
done

printf '%-10s %6s %-6s %9s %8s %8s %6s %8s %8s %6s %9s %9s\n' set lines chars bytes wall_ms sed_ms ratio cpu_ms sed_cpu ratio peak_KiB limit_KiB
worst="0 -" worst_cpu="0 -"
while read -r row; do
  # shellcheck disable=SC2086
  set -- $row
  result=$(measure "$1" "$2" "$3" </dev/null)
  # shellcheck disable=SC2086
  set -- "$1" "$2" "$3" $result
  ratio=$(awk -v a="$4" -v b="$5" 'BEGIN {printf "%.2f", a / b}')
  cpu_ratio=$(awk -v a="$7" -v b="$8" 'BEGIN {printf "%.2f", a / b}')
  limit=$(( $9 * 4 / 1024 + 8192 ))
  printf '%-10s %6s %-6s %9s %8s %8s %6s %8s %8s %6s %9s %9s\n' "$1" "$2" "$3" "$9" "$4" "$5" "$ratio" "$7" "$8" "$cpu_ratio" "$6" "$limit"
  eval "t_$1_$2_$(echo "$3" | tr -d '-')=$4"
  eval "r_$1_$2_$(echo "$3" | tr -d '-')='$ratio $cpu_ratio'"
  worst=$(awk -v w="$worst" -v r="$ratio" -v c="$1 $2 $3" 'BEGIN {split(w, a, " "); print (r + 0 > a[1] + 0) ? r " (" c ")" : w}')
  worst_cpu=$(awk -v w="$worst_cpu" -v r="$cpu_ratio" -v c="$1 $2 $3" 'BEGIN {split(w, a, " "); print (r + 0 > a[1] + 0) ? r " (" c ")" : w}')
done <<ROWS
$rows
ROWS
echo "the worst wall ratio to sed -i + sync: $worst; the worst CPU ratio to sed: $worst_cpu"

# A ten-line reply against a statically linked program that only reads and
# rewrites it (and syncs it and its folder, as the program's commit does).
small=$work/hard/reply-10.txt
head -n 10 "$work/hard/reply-1000.txt" >"$small"
start=$("$build/interleave" "$rounds" "$small" "$work/hard/r.txt" --sync \
  -- "$work/hard/salvetor" "$work/hard/r.txt" /F /Key- -- "$build/minimal_rewrite" "$work/hard/r.txt")

echo
awk -v h10="$t_hard_10000_CP866" -v h65="$t_hard_65535_CP866" -v m="$t_macros10k_65535_CP866" \
    -v n="$t_names10k_65535_CP866" -v s="$start" -v hr="$r_hard_65535_CP866" 'BEGIN {
  split(s, st, " ")
  split(hr, h, " ")
  printf "hard set, 65,535 lines, CP866: wall %.2f x sed -i + sync, CPU %.2f x sed (targets at most 1.0 x)\n", h[1], h[2]
  printf "growth 10,000 -> 65,535 lines (hard, CP866): %.2f x (target at most 6.5 x)\n", h65 / h10
  printf "10,000 macros against 100: %.2f x (target at most 2 x)\n", m / h65
  printf "10,000 names against 1,000: %.2f x (target at most 2 x)\n", n / h65
  printf "10-line reply against a static read-and-rewrite: %.2f ms / %.2f ms = %.2f x (target at most 1.2 x)\n", st[1], st[2], st[1] / st[2]
}'
