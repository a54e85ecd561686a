#!/bin/sh
# Runs two builds of the program on the same inputs and compares what they
# do byte for byte: console output, every file left in the folder (result,
# backup) and the exit code. Inputs: the benchmark replies and tables, the
# bundled example with the default data, and random replies with random
# tables under many option sets. Before a speed change lands, run it with the
# program before the change and after it; it must print 0 differences.
# Usage: bench/compare.sh OLD NEW [RANDOM_CASES]   (default 300 random cases)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
old=$(readlink -f "$1")
new=$(readlink -f "$2")
cases=${3:-300}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C
total=0 differences=0 cp866=0

# compare DATA_DIR REPLY ARGS...: runs both programs in copies of DATA_DIR.
compare() {
  data=$1 reply=$2
  shift 2
  for side in old new; do
    rm -rf "$work/$side"
    cp -r "$data" "$work/$side"
    cp "$reply" "$work/$side/r.txt"
    if [ "$side" = old ]; then cp "$old" "$work/$side/salvetor"; else cp "$new" "$work/$side/salvetor"; fi
    (cd "$work/$side" && ./salvetor r.txt "$@" </dev/null >.out 2>.err; echo $? >.code) || true
  done
  total=$((total + 1))
  if ! diff -r -x salvetor "$work/old" "$work/new" >/dev/null 2>&1; then
    differences=$((differences + 1))
    # A reply the program read as CP866 says no "Charset:" line.
    grep -q "Charset:" "$work/old/.out" || cp866=$((cp866 + 1))
    echo "differs: $reply $*"
    diff -r -x salvetor "$work/old" "$work/new" | head -n 5 | LC_ALL=C tr -c '\n\t -~' '?'
  fi
}

# The benchmark data.
for set in hard easy; do
  python3 "$here/generate.py" --set "$set" "$work/bench-$set" 1000 10000
  mkdir -p "$work/data-$set"
  cp "$work/bench-$set"/*.dat "$work/bench-$set"/salvetor.cfg "$work/data-$set/"
  for n in 1000 10000; do
    for options in "/F /Key-" "/F /Key- /IF /SN" "/F2 /Key- /SB-" "/M- /FN-"; do
      # shellcheck disable=SC2086
      compare "$work/data-$set" "$work/bench-$set/reply-$n.txt" $options
    done
  done
done

# The random table sets of the speed runs (generate.py --set random).
for seed in ${SEEDS:-1 2 3 4 5}; do
  python3 "$here/generate.py" --set random --seed "$seed" "$work/bench-seed$seed" 2000
  mkdir -p "$work/data-seed$seed"
  cp "$work/bench-seed$seed"/*.dat "$work/bench-seed$seed"/salvetor.cfg "$work/data-seed$seed/"
  iconv -f CP866 -t UTF-8 "$work/bench-seed$seed/reply-2000.txt" | tr -d '\r' >"$work/bench-seed$seed/reply-utf8.txt"
  for file in reply-2000.txt reply-utf8.txt; do
    for options in "/F /Key-" "/F /Key- /IF /SN" "/M- /FN-"; do
      # shellcheck disable=SC2086
      compare "$work/data-seed$seed" "$work/bench-seed$seed/$file" $options
    done
  done
done

# The example with the shipped data.
mkdir -p "$work/data-shipped"
cp "$here/../data"/* "$work/data-shipped/"
compare "$work/data-shipped" "$here/../examples/reply.txt" /F /Key-

# Random replies and tables.
python3 "$here/random_cases.py" "$work/random" "$cases"
i=0
while [ "$i" -lt "$cases" ]; do
  options=$(cat "$work/random/$i/options")
  # shellcheck disable=SC2086
  compare "$work/random/$i/data" "$work/random/$i/reply.txt" $options
  i=$((i + 1))
done

echo "compare: $total cases, $differences differences ($cp866 of CP866 replies)"
[ "$differences" -eq 0 ]
