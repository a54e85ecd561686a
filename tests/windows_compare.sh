#!/bin/sh
# Runs the Linux program and the Windows program (under Wine) on the same
# replies with the same data and options, and compares what they leave:
# the result, the backup, every other file of the folder, the console text
# (the banner's system name aside) and the exit code.
# Usage: tests/windows_compare.sh LINUX_BUILD WINDOWS_BUILD SOURCE_DIR
set -eu
linux=$(cd "$1" && pwd) windows=$(cd "$2" && pwd) source=$(cd "$3" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C WINEDEBUG=-all
cases=0 differences=0

# compare DATA_DIR REPLY ARGS...: the reply is named $name (default r.txt).
compare() {
  data=$1 reply=$2 file=${name:-r.txt}
  shift 2
  for side in linux windows; do
    rm -rf "$work/$side"
    cp -r "$data" "$work/$side"
    cp "$reply" "$work/$side/$file"
  done
  cp "$linux/salvetor" "$work/linux/salvetor"
  cp "$windows/salvetor.exe" "$work/windows/salvetor.exe"
  (cd "$work/linux" && ./salvetor "$file" "$@" </dev/null >.out 2>.err; echo $? >.code) || true
  # Wine takes the arguments' bytes in the locale's charset.
  (cd "$work/windows" && LC_ALL=C.UTF-8 wine ./salvetor.exe "$file" "$@" </dev/null >.out 2>.err; echo $? >.code) ||
    true
  # The banner names the system; paths are shown in each system's form; the
  # Linux console speaks the locale's charset (UTF-8 in the C locale) with LF
  # line ends, the redirected Windows console CP866 with CR LF.
  WIN="Z:$work/windows/" LIN="$work/linux/" perl -pi -e \
    '(my $w = $ENV{WIN}) =~ tr{/}{\\}; s/\Q$w\E/$ENV{LIN}/g; s/; Windows edition by/; POSIX edition by/' \
    "$work/windows/.out"
  iconv -f CP866 -t UTF-8 "$work/windows/.out" | sed 's/\r$//' >"$work/out.utf8" && mv "$work/out.utf8" "$work/windows/.out"
  rm -f "$work/linux/salvetor" "$work/windows/salvetor.exe" "$work/linux/.err" "$work/windows/.err"
  cases=$((cases + 1))
  if ! diff -r "$work/linux" "$work/windows" >"$work/diff" 2>&1; then
    differences=$((differences + 1))
    echo "DIFFERENT: $(basename "$reply") $*"
    head -n 20 "$work/diff" | LC_ALL=C tr -c '\n\t -~' '?'
  fi
}

# The example with the default data.
defaults=$work/defaults
mkdir -p "$defaults"
cp "$source"/data/* "$defaults/"
compare "$defaults" "$source/examples/reply.txt" /F /Key-
compare "$defaults" "$source/examples/reply.txt"
cp "$source/examples/salvetor.beg" "$source/examples/salvetor.end" "$defaults/"
compare "$defaults" "$source/examples/reply.txt" /F1 /IF /Key-

# Benchmark replies with hard tables: names, templates, macros, patterns;
# CP866 with CR LF, UTF-8 with LF, and long lines.
tables=$work/tables
python3 "$source/bench/generate.py" --set hard "$tables" 300 >/dev/null
reply=$tables/reply-300.txt
iconv -f CP866 -t UTF-8 "$reply" | tr -d '\r' >"$work/utf8.txt"
awk '{ printf "%s%s\r\n", $0, (NR % 7 == 0 ? sprintf("%0400d", NR) : "") }' "$reply" >"$work/long.txt"
for options in "/Key-" "/F /Key- /IF" "/F2 /SB- /Key-" "/F3 /M- /Key-" "/SN- /FN- /Key-"; do
  # shellcheck disable=SC2086
  compare "$tables" "$reply" $options
  # shellcheck disable=SC2086
  compare "$tables" "$work/utf8.txt" $options
done
compare "$tables" "$work/long.txt" /F /Key-
compare "$tables" "$work/utf8.txt" /F /Key- /CS=KOI8-R
# A reply whose name has Cyrillic letters and blanks.
name="Ответ на письмо.txt" compare "$tables" "$reply" /F /Key-
if ! head -c 9 "$work/windows/Ответ на письмо.txt" | grep -q Salvetor; then
  differences=$((differences + 1))
  echo "NOT WRITTEN: the reply with a Cyrillic name"
fi

echo "windows compare: $cases cases, $differences differences"
[ "$differences" -eq 0 ]
