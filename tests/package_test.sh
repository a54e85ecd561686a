#!/bin/sh
# Builds the Debian package, checks what it holds, unpacks it into a
# temporary folder (no system-wide install) and runs the unpacked program on
# the example reply. Exit 77: the tools to build a package are missing.
set -eu
build=$1
source=$2
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/*.deb)
dpkg-deb -c "$deb" >"$work/contents"
for path in ./usr/bin/salvetor ./usr/lib/salvetor/salvetor ./usr/lib/salvetor/salvetor.cfg \
            ./usr/lib/salvetor/names.dat ./usr/lib/salvetor/salvetor.RUS ./usr/share/man/man1/salvetor.1 \
            ./usr/share/doc/salvetor/README.md ./usr/share/doc/salvetor/examples/reply.txt; do
  grep -q " $path\( \|$\)" "$work/contents" || { echo "missing in the package: $path"; cat "$work/contents"; exit 1; }
done
dpkg-deb -x "$deb" "$work/root"
# A dynamically linked program needs its computed dependencies; a static one
# has none to compute.
if ! file -L "$work/root/usr/lib/salvetor/salvetor" | grep -q "statically linked"; then
  dpkg-deb -f "$deb" Depends | grep -q libc6 || { echo "no computed dependencies"; exit 1; }
fi
cp "$source/examples/reply.txt" "$work/reply.txt"
XDG_CONFIG_HOME="$work/none" "$work/root/usr/bin/salvetor" "$work/reply.txt" /F /Key- </dev/null >"$work/out"
cmp "$work/reply.txt" "$source/examples/reply.expected.txt" || { echo "the unpacked program gave another result"; exit 1; }
echo "package: $(basename "$deb") holds $(wc -l <"$work/contents") entries; the unpacked program ran the example"
