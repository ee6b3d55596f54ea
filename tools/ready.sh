# Sourced by run.sh and test.sh: installs what is missing, builds into
# $QUILLOTUNE_BUILD (default build/), and readies the display and the Wine
# prefix, cleaned up again on exit. Sets $here, $root and $build.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="${QUILLOTUNE_BUILD:-$root/build}"
# shellcheck source=host-arch.sh
. "$here/host-arch.sh"

"$here/setup.sh" || exit 1
QUILLOTUNE_BUILD="$build" "$here/build.sh" || exit 1

# shellcheck source=display.sh
. "$here/display.sh"
trap quillotune_cleanup_display EXIT
