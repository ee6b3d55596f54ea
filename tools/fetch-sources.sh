#!/usr/bin/env bash
# Fetches the sources of the third-party libraries that the engine
# cross-builds (Debian's source packages) into third_party/, once each.
# The archive is the one this machine's own package lists name.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
dest="$root/third_party"

# Source package and the folder it goes to.
libraries=(
  "libsoxr soxr"
  "mpg123 mpg123"
  "libogg ogg"
  "libvorbis vorbis"
  "flac flac"
  "opus opus"
  "libsndfile sndfile"
)

wanted=()
for entry in "${libraries[@]}"; do
  read -r pkg dir <<<"$entry"
  [ -f "$dest/$dir/.fetched-patched" ] || wanted+=("$entry")
done
[ ${#wanted[@]} -eq 0 ] && exit 0

# The first Debian archive the machine uses (deb822 .sources files first,
# then one-line sources.list entries), with its suite and signing key.
archive_uri() {
  local file uri
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    uri="$(awk '/^URIs:/ { for (i = 2; i <= NF; i++) if ($i !~ /security/) { print $i; exit } }' "$file")"
    [ -n "$uri" ] && { echo "$uri"; return; }
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    uri="$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i !~ /^\[/ && $i !~ /\]$/ && $i !~ /=/) { if ($i !~ /security/) print $i; break } }' "$file" | head -n1)"
    [ -n "$uri" ] && { echo "$uri"; return; }
  done
}
uri="$(archive_uri)"
if [ -z "$uri" ]; then
  echo "setup: no Debian archive is configured in /etc/apt; cannot fetch library sources" >&2
  exit 1
fi
suite="$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/parts" "$work/archives/partial"
{
  echo "Types: deb-src"
  echo "URIs: $uri"
  echo "Suites: $suite"
  echo "Components: main"
  [ -f "$keyring" ] && echo "Signed-By: $keyring"
} >"$work/parts/src.sources"
opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/parts"
      -o "Dir::State::Lists=$work/lists" -o "Dir::Cache::Archives=$work/archives"
      -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
apt-get "${opts[@]}" -qq update

# Each package's upstream tarball, with Debian's own patches (security fixes
# among them) applied. Only the files needed are taken (not the signatures),
# each checked against the hash that the signed package lists give.
for entry in "${wanted[@]}"; do
  read -r pkg dir <<<"$entry"
  echo "setup: fetching the source of $pkg"
  mkdir -p "$work/$pkg"
  apt-get "${opts[@]}" -qq source --print-uris "$pkg" >"$work/$pkg/uris"
  while read -r url name size hash; do
    case "$name" in
      *.orig.tar.*.asc) continue ;;
      *.orig.tar.* | *.debian.tar.*) ;;
      *) continue ;;
    esac
    url="${url#\'}"; url="${url%\'}"
    /usr/lib/apt/apt-helper "${opts[@]}" download-file "$url" "$work/$pkg/$name" "$hash" >/dev/null
  done <"$work/$pkg/uris"
  orig="$(ls "$work/$pkg"/*.orig.tar.* | head -n1)"
  rm -rf "${dest:?}/$dir"
  mkdir -p "$dest/$dir"
  tar -xf "$orig" -C "$dest/$dir" --strip-components=1
  debian="$(ls "$work/$pkg"/*.debian.tar.* 2>/dev/null | head -n1 || true)"
  if [ -n "$debian" ]; then
    tar -xf "$debian" -C "$work/$pkg"
    if [ -f "$work/$pkg/debian/patches/series" ]; then
      grep -v '^\s*#' "$work/$pkg/debian/patches/series" | while read -r patch options; do
        [ -n "$patch" ] || continue
        patch -d "$dest/$dir" -s -p1 ${options:-} <"$work/$pkg/debian/patches/$patch"
      done
    fi
  fi
  touch "$dest/$dir/.fetched-patched"
done
