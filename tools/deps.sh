#!/bin/sh
# Installs what building Salvetor needs when it is missing (with --tests,
# also what its tests need), through apt-get as root or with sudo. Where
# that is not possible it stops with the one line to run.
set -eu
have() { command -v "$1" >/dev/null 2>&1; }
need=""
have cmake || need="$need cmake"
have g++ || need="$need g++"
have make || need="$need make"
have iconv || need="$need libc-bin"
have msgfmt && have xgettext || need="$need gettext"
if [ "${1:-}" = "--tests" ]; then
  [ -f /usr/include/gtest/gtest.h ] || need="$need libgtest-dev"
  have script || need="$need bsdutils"
  have setpriv || need="$need util-linux"
  have localedef && [ -f /usr/share/i18n/charmaps/KOI8-R.gz ] || need="$need locales"
  have dpkg-shlibdeps || need="$need dpkg-dev"
  have file || need="$need file"
  have man || need="$need man-db"
  have patch || need="$need patch"
  have vim || need="$need vim"
  have lintian || need="$need lintian"
  have gzip || need="$need gzip"
fi
[ -z "$need" ] && exit 0

echo "Salvetor needs:$need"
if ! have apt-get; then
  echo "Install them with your system's package manager, then run this command again."
  exit 1
fi
if [ "$(id -u)" = 0 ]; then
  sudo=""
elif have sudo; then
  sudo="sudo"
else
  echo "Run as root: apt-get install -y$need"
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! { $sudo apt-get update -q && $sudo apt-get install -y -q --no-install-recommends $need; } </dev/null; then
  echo "Could not install them. Run: ${sudo:+sudo }apt-get install -y$need"
  exit 1
fi
