#!/usr/bin/env bash
# Fetches the sources of the third-party libraries that the engine
# cross-builds (Debian's source packages) into third_party/, once.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
dest="$root/third_party"

fetch() { # package, folder name
  local pkg="$1" dir="$2"
  [ -f "$dest/$dir/.fetched" ] && return 0
  echo "setup: fetching the source of $pkg"
  local work
  work="$(mktemp -d)"
  mkdir -p "$work/lists/partial" "$work/parts" "$work/archives/partial"
  local suite
  suite="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
  cat >"$work/parts/src.sources" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  local opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/parts"
              -o "Dir::State::Lists=$work/lists" -o "Dir::Cache::Archives=$work/archives"
              -o Debug::NoLocking=1)
  apt-get "${opts[@]}" -o APT::Sandbox::User=root -qq update
  (cd "$work" && apt-get "${opts[@]}" -o APT::Sandbox::User=root -qq source --download-only "$pkg" >/dev/null)
  local orig
  orig="$(ls "$work"/*.orig.tar.* | head -n1)"
  rm -rf "${dest:?}/$dir"
  mkdir -p "$dest/$dir"
  tar -xf "$orig" -C "$dest/$dir" --strip-components=1
  touch "$dest/$dir/.fetched"
  rm -rf "$work"
}

fetch libsoxr soxr
