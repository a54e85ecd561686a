#!/bin/sh
# Checks the include rules of src/: a file includes nothing from a higher
# folder (platform < textlib < filter, console < runtime < app), and no file
# outside src/platform/ includes a header of the operating system. Tests
# beside the code follow the same rules; they may also use tests/support/.
set -u
cd "$(dirname "$0")/.."
rank() {
  case $1 in
    platform) echo 0 ;; textlib) echo 1 ;; filter|console) echo 2 ;; runtime) echo 3 ;; app) echo 4 ;; *) echo 9 ;;
  esac
}
os_headers='unistd\.h|termios\.h|sys/|fcntl\.h|poll\.h|signal\.h|dirent\.h|langinfo\.h|ucontext\.h|pty\.h|utmp\.h|pwd\.h|dlfcn\.h|windows\.h|io\.h|direct\.h'
bad=0
for file in src/*/*.cpp src/*/*.h; do
  folder=$(echo "$file" | cut -d/ -f2)
  own=$(rank "$folder")
  for used in $(sed -n 's/^#include "\([a-z_]*\)\/.*/\1/p' "$file" | sort -u); do
    # Tests may use the test support of tests/support.
    case "$used:$file" in support:*_test.cpp) continue ;; esac
    if [ "$(rank "$used")" -gt "$own" ]; then
      echo "$file includes from the higher folder $used/"
      bad=1
    fi
  done
  if [ "$folder" != platform ] && grep -En "^#include <($os_headers)" "$file" >/dev/null; then
    echo "$file includes a header of the operating system: $(grep -Eo "^#include <($os_headers)[^>]*>" "$file" | tr '\n' ' ')"
    bad=1
  fi
done
if [ "$bad" -eq 0 ]; then echo "layers: every include goes down or across"; fi
exit "$bad"
