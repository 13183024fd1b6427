#!/usr/bin/env bash
# The manual page installs beside the tool, where man finds it (PREFIX/share/man for
# PREFIX/bin), and describes every option that the installed tool's --help prints, so that the
# two cannot drift apart.
#   manual_options.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1 build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
manual=$prefix/share/man/man1/tallowick-cli.1
[ -f "$manual" ] || { echo "FAILED: no manual page at $manual" >&2; exit 1; }

# roff writes a minus as \- and switches fonts with \fB, \fI, \fR, \fP.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$manual")
# "--no-..." in the help abbreviates options that it lists one by one.
options=$("$prefix/bin/tallowick-cli" --help | grep -oE -- '--[a-z][a-z-]*' | grep -v -- '-$' | sort -u)
[ "$(wc -l <<<"$options")" -ge 10 ] || { echo "FAILED: too few options in --help" >&2; exit 1; }
missing=0
for option in $options; do
  if ! grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text"; then
    echo "FAILED: $option is not in the manual page" >&2
    missing=1
  fi
done
exit $missing
