#!/bin/sh
# Fetches Debian's libical3 source (the upstream tarball of the version below)
# into DOWNLOAD-DIR, once, and unpacks it into SOURCE-DIR. The source archive
# is read through a private apt setup in DOWNLOAD-DIR, so the system's own
# apt configuration and package lists stay as they are. Builds that share
# DOWNLOAD-DIR take turns (flock) and fetch it once.
#   fetch_libical.sh DOWNLOAD-DIR SOURCE-DIR
set -eu
version=3.0.16
sha256=b44705dd71ca4538c86fb16248483ab4b48978524fb1da5097bd76aa2e0f0c33
tarball=libical3_$version.orig.tar.gz
download=$1
source=$2

mkdir -p "$download"
download=$(cd "$download" && pwd)
exec 9>"$download/.lock"
flock 9
verified() {
  [ -f "$download/$tarball" ] &&
    echo "$sha256  $download/$tarball" | sha256sum --check --status
}
if ! verified; then
  apt="$download/apt"
  mkdir -p "$apt/sources.list.d" "$apt/lists/partial"
  found=
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$list" >"$apt/sources.list.d/$(basename "$list")"
    found=1
  done
  if [ -z "$found" ]; then
    echo "fetch_libical.sh: no deb822 apt sources in /etc/apt/sources.list.d" >&2
    exit 1
  fi
  options="-o Dir::Etc::SourceParts=$apt/sources.list.d -o Dir::Etc::SourceList=/nonexistent
           -o Dir::State::Lists=$apt/lists -o APT::Sandbox::User=root"
  # shellcheck disable=SC2086
  apt-get -qq $options update
  # Only the upstream tarball is needed; Debian's own tarball may be missing
  # from the mirror, which apt reports as a failure.
  # shellcheck disable=SC2086
  (cd "$download" && apt-get -qq $options source --download-only "libical3=$version-1") \
    >"$download/source.log" 2>&1 || true
  if ! verified; then
    echo "fetch_libical.sh: could not fetch $tarball with sha256 $sha256" >&2
    exit 1
  fi
fi
rm -rf "$source"
mkdir -p "$source"
tar -xzf "$download/$tarball" -C "$source" --strip-components=1
