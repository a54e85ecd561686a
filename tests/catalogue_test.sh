#!/bin/sh
# The Russian catalogue against the program: msgfmt --check passes on it,
# and merged with the template xgettext made from the sources it has every
# text of the program, each translated and none fuzzy, and no text the
# program no longer shows.
set -eu
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
msgfmt --check --statistics -o /dev/null "$source/po/ru.po"
msgmerge --quiet --no-fuzzy-matching -o "$work/merged.po" "$source/po/ru.po" "$build/po/salvetor.pot"
fail=0
for kind in untranslated only-fuzzy only-obsolete; do
  msgattrib --$kind --no-wrap -o "$work/$kind.po" "$work/merged.po"
  if grep -q '^#\?~\? *msgid "[^"]' "$work/$kind.po" 2>/dev/null; then
    echo "po/ru.po: $kind messages:"
    grep '^#\?~\? *msgid' "$work/$kind.po"
    fail=1
  fi
done
[ "$fail" -eq 0 ] && echo "po/ru.po: every text of the program, translated"
exit "$fail"
