#!/bin/bash
# scripts/debian-root.bash takes the package archive from the machine's apt
# configuration, in either format, unless the environment names one.
. "$1/scripts/debian-root.bash"
fail=0
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

expect() {  # expect MIRROR SECURITY DESCRIPTION (after debian_mirrors ran)
  [ "$debian_mirror $debian_security_mirror" = "$1 $2" ] ||
    { echo "FAIL: $3: got '$debian_mirror' '$debian_security_mirror'"; fail=1; }
}

mkdir -p "$tmp/one/sources.list.d" "$tmp/822/sources.list.d" "$tmp/none/sources.list.d"
cat >"$tmp/one/sources.list" <<'END'
# deb http://commented.example/debian bookworm main
deb-src http://source.example/debian bookworm main
deb [arch=amd64 signed-by=/usr/share/keyrings/k.gpg] http://one.example/debian/ bookworm main
deb http://one.example/security bookworm-security main
END
debian_mirrors "$tmp/one"
expect http://one.example/debian http://one.example/security "one-line sources"

cat >"$tmp/822/sources.list.d/debian.sources" <<'END'
Types: deb-src
URIs: http://source.example/debian
Suites: bookworm
Components: main

Types: deb
# http://commented.example/debian
URIs: http://822.example/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
END
debian_mirrors "$tmp/822"
expect http://822.example/debian http://822.example/debian-security "deb822 sources"

KRAGMOOR_DEBIAN_MIRROR=http://env.example/debian debian_mirrors "$tmp/822"
expect http://env.example/debian http://env.example/debian-security "environment override"
debian_mirrors "$tmp/none" 2>/dev/null && { echo "FAIL: no sources gave a mirror"; fail=1; }
exit $fail
