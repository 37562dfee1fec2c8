#!/bin/sh
# Installs the build into a scratch prefix and checks what `make install` promises: the
# program, which finds its module by itself, the manual page and the guide with the examples.
#
# Usage: sh check_install.sh BUILD_DIR MAN_DIR DOC_DIR [MANPAGE]
# (MAN_DIR and DOC_DIR relative to the prefix; MANPAGE OFF for a build without the manual page)
set -eu

BUILD=$1
MAN_DIR=$2
DOC_DIR=$3
case ${4:-ON} in OFF | NO | FALSE | 0) MANPAGE=false ;; *) MANPAGE=true ;; esac
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$BUILD" --prefix "$prefix" >/dev/null
for file in "$DOC_DIR/README.md" "$DOC_DIR/examples/linear3.toml" \
            "$DOC_DIR/examples/linear3.element"; do
  [ -f "$prefix/$file" ] || { echo "check_install: $file is not installed" >&2; exit 1; }
done
if $MANPAGE; then
  [ -f "$prefix/$MAN_DIR/man1/vantrel.1" ] ||
    { echo "check_install: the manual page is not installed" >&2; exit 1; }
  # Every command has its part of the manual page.
  grep -q '^\.SS "vantrel translate"' "$prefix/$MAN_DIR/man1/vantrel.1" ||
    { echo "check_install: the manual page lacks the commands" >&2; exit 1; }
fi
examples="$prefix/$DOC_DIR/examples"
"$prefix/bin/vantrel" check -p "$examples/linear3.toml" "$examples/linear3.element"
