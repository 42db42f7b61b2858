#!/usr/bin/env bash
# Checks the built package as Debian and the desktops would: lintian, the desktop entry, the
# metadata, its file list against the program folder; then, where we may install packages,
# installs it, runs it as an unprivileged user with a fresh home, verifies and removes it.
# Usage: check-package.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
shopt -s nullglob
debs=("$build"/orvento_*_amd64.deb)
if ((${#debs[@]} != 1)); then
    echo "check-package: expected one orvento_*_amd64.deb in $build" >&2
    exit 1
fi
deb=${debs[0]}
fail() { echo "check-package: $*" >&2; exit 1; }

size=$(stat -c %s "$deb")
echo "check-package: $(basename "$deb"), $((size / 1024)) kB (target: under 40 MB)"
((size < 40 * 1024 * 1024)) || fail "the package is larger than 40 MB"

lintian --fail-on error "$deb"
desktop-file-validate "$here/cz.orvento.Orvento.desktop"
appstreamcli validate --no-net "$here/cz.orvento.Orvento.metainfo.xml"

# Everything the program folder holds is in the package, less what a run leaves there.
packaged=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed -n 's|^\./usr/lib/orvento/||p' |
           grep -v '/$' | grep -v '^orvento.packaged$' | sort)
built=$(cd "$build/program" && find . -type f -printf '%P\n' |
        grep -Ev '^(Tovaro\.ini|DATA/|ZALOHY/)' | sort)
missing=$(comm -13 <(echo "$packaged") <(echo "$built"))
[[ -z "$missing" ]] || fail "not in the package: $missing"
extra=$(comm -23 <(echo "$packaged") <(echo "$built"))
[[ -z "$extra" ]] || fail "in the package but not in the program folder: $extra"

if [[ $(id -u) -ne 0 ]]; then
    echo "check-package: not root, the package is not installed here"
    exit 0
fi
if dpkg-query -W -f='${Status}' orvento 2>/dev/null | grep -q "install ok installed"; then
    fail "an orvento package is installed already; remove it first"
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb"
trap 'DEBIAN_FRONTEND=noninteractive apt-get purge -y orvento >/dev/null' EXIT
home=$(mktemp -d)
chown nobody "$home"
version=$(runuser -u nobody -- env -i HOME="$home" PATH=/usr/bin:/bin /usr/bin/orvento --version)
rm -rf "$home"
expected="Orvento $(sed -n 's/.*kVersion = QStringLiteral("\([0-9.]*\)").*/\1/p' \
                    "$here/../core/AppVersion.h")"
[[ "$version" == "$expected" ]] || fail "orvento --version said \"$version\", not \"$expected\""
dpkg --verify orvento || fail "dpkg --verify orvento found changed files"
echo "check-package: installed, \"$version\" as nobody, verified and removed"
