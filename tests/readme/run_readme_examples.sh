#!/bin/sh
# Runs every command example of README.md, so that the README cannot drift from the program.
#
# Usage: sh run_readme_examples.sh SOURCE_DIR BUILD_DIR
#
# The examples are the README's ```sh blocks. They run in order, each with `sh -e`, from the
# root of a scratch copy of the source tree whose build/ is BUILD_DIR, so that they see the
# examples/ folder and build/vantrel as a reader's clone does and every file they write is
# thrown away afterwards. A block fails the test when any of its commands fails; a command
# that is meant to fail shows it in the example itself (`... || echo refused`). A block that
# cannot run here (it builds, installs or needs a display) opts out with the line
#     <!-- readme-test: skip -->
# as the last non-blank line before its opening fence.
set -eu

SOURCE=$(cd "${1:?usage: run_readme_examples.sh SOURCE_DIR BUILD_DIR}" && pwd)
BUILD=$(cd "${2:?usage: run_readme_examples.sh SOURCE_DIR BUILD_DIR}" && pwd)
README="$SOURCE/README.md"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
scratch="$work/tree"
blocks="$work/blocks"
mkdir "$scratch" "$blocks"

# The source tree without version control and build folders, and the build under test.
for entry in "$SOURCE"/* "$SOURCE"/.[!.]*; do
  [ -e "$entry" ] || continue
  case $(basename "$entry") in
    .git | build | build-*) ;;
    *) cp -R "$entry" "$scratch/" ;;
  esac
done
ln -s "$BUILD" "$scratch/build"

# Writes each runnable block to blocks/NNN.sh, its first line "# README.md:LINE".
awk -v dir="$blocks" '
  function flush() { close(file) }
  inblock && /^```[ \t]*$/ { inblock = 0; flush(); next }
  inblock { print > file; next }
  /^```sh[ \t]*$/ {
    if (skip) { skipping = 1; skip = 0; next }
    count++
    file = sprintf("%s/%03d.sh", dir, count)
    print "# README.md:" NR + 1 > file
    inblock = 1
    next
  }
  skipping && /^```[ \t]*$/ { skipping = 0; next }
  skipping { next }
  /<!-- readme-test: skip -->/ { skip = 1; next }
  NF { skip = 0 }
' "$README"

ran=0
for block in "$blocks"/*.sh; do
  [ -e "$block" ] || continue
  ran=$((ran + 1))
  where=$(head -n 1 "$block" | sed 's/^# //')
  # No display: an edit without a script must never wait for a person.
  if ! output=$(cd "$scratch" && env -u DISPLAY timeout 120 sh -e "$block" </dev/null 2>&1); then
    echo "$where: this example failed:" >&2
    sed '1d; s/^/    /' "$block" >&2
    echo "its output:" >&2
    printf '%s\n' "$output" | sed 's/^/    /' >&2
    exit 1
  fi
done
[ "$ran" -gt 0 ] || { echo "README.md has no runnable sh examples" >&2; exit 1; }
echo "README.md: $ran examples ran"
