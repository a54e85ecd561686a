#!/bin/sh
# Builds the Debian package as the README says (the package preset, the
# flags of dpkg-buildflags) twice, from copies of the sources in two
# folders: the programs and the packages must be the same bytes. Then
# lintian --pedantic must find no error and no warning, and the unpacked
# program (no system-wide install) runs the example reply.
# Exit 77: the tools to build or check a package are missing.
set -eu
source=$(cd "$2" && pwd)
for tool in cmake cpack dpkg-deb dpkg-shlibdeps dpkg-buildflags file lintian gzip; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sources as committed and changed, without any build.
copy() {
  mkdir -p "$1"
  if git -C "$source" rev-parse >/dev/null 2>&1; then
    (cd "$source" && git ls-files -z --cached --others --exclude-standard | xargs -0 tar -cf - 2>/dev/null) |
      tar -xf - -C "$1"
    cp -r "$source/.git" "$1/.git"  # the commit time
  else
    (cd "$source" && tar --exclude=./build -cf - .) | tar -xf - -C "$1"
  fi
}

for side in one two; do
  copy "$work/$side/salvetor"
  (
    cd "$work/$side/salvetor"
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    cmake --preset package >"$work/$side.log" 2>&1 &&
      cmake --build --preset package >>"$work/$side.log" 2>&1 &&
      (cd build/package && cpack -G DEB >>"$work/$side.log" 2>&1)
  ) || { tail -n 30 "$work/$side.log"; exit 1; }
done
one=$work/one/salvetor/build/package two=$work/two/salvetor/build/package
cmp "$one/salvetor" "$two/salvetor" || { echo "two builds in two folders gave two programs"; exit 1; }
deb=$(ls "$one"/*.deb)
cmp "$deb" "$two/$(basename "$deb")" || { echo "two package runs gave two packages"; exit 1; }

dpkg-deb -c "$deb" >"$work/contents"
for path in ./usr/bin/salvetor ./usr/share/salvetor/salvetor.cfg ./usr/share/salvetor/names.dat \
            ./usr/share/salvetor/salvetor.RUS ./usr/share/man/man1/salvetor.1.gz ./usr/share/doc/salvetor/copyright \
            ./usr/share/doc/salvetor/changelog.gz ./usr/share/doc/salvetor/README.md \
            ./usr/share/doc/salvetor/examples/reply.txt ./usr/share/bash-completion/completions/salvetor \
            ./usr/share/locale/ru/LC_MESSAGES/salvetor.mo ./usr/share/man/ru/man1/salvetor.1.gz \
            ./usr/share/doc/salvetor/README.ru.md; do
  grep -q " $path\( \|$\)" "$work/contents" || { echo "missing in the package: $path"; cat "$work/contents"; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libc6 || { echo "no computed dependencies"; exit 1; }
lintian --pedantic --suppress-tags running-with-root-privileges "$deb" >"$work/lintian" 2>&1 || true
if grep -E '^[EW]: ' "$work/lintian"; then
  echo "lintian finds errors or warnings"
  exit 1
fi

dpkg-deb -x "$deb" "$work/root"
cp "$source/examples/reply.txt" "$work/reply.txt"
XDG_CONFIG_HOME="$work/none" XDG_STATE_HOME="$work/state" "$work/root/usr/bin/salvetor" "$work/reply.txt" /F /Key- \
  </dev/null >"$work/out"
cmp "$work/reply.txt" "$source/examples/reply.expected.txt" || { echo "the unpacked program gave another result"; exit 1; }
LC_ALL=ru_RU.UTF-8 "$work/root/usr/bin/salvetor" --version </dev/null | grep -q "Лицензия: MIT" ||
  { echo "the unpacked program does not speak Russian under a Russian locale"; exit 1; }
echo "package: $(basename "$deb") holds $(wc -l <"$work/contents") entries, built the same twice, lintian clean;" \
  "the unpacked program ran the example and speaks Russian"
