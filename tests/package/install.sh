#!/usr/bin/env bash
# The installer and the portable zip of this build, checked as a user meets them.
#   install.sh <build> <setup.exe> <portable.zip> <version> <windres>
# In a copy of the build's Wine prefix, so no other test sees the install:
# "/S" installs; the program, the engine and the uninstaller are in the
# Program Files folder, the Start menu has the shortcut and the list of
# installed programs the entry, with the version; the shortcut starts the
# program, whose window lists the Image Recorder; "/S" uninstalls, keeping a
# file the user put in the program folder; then nothing else of it is left.
set -uo pipefail
build="$1"
setup="$2"
zip="$3"
version="$4"
windres="$5"
run="$build/wine-run.sh"
work="$build/package-test"

fail() { echo "FAIL: $*"; exit 1; }
probe() { "$run" "$build/bin/WindowProbe.exe" "$@" | tr -d '\r'; }
wineserver="$build/wine-bin/wineserver"
[ -x "$wineserver" ] || wineserver=wineserver

[ -f "$setup" ] || fail "no installer at $setup"
[ -d "$build/wineprefix" ] || fail "no Wine prefix at $build/wineprefix (tools/test.sh makes it)"
case "$(basename "$setup")" in
"Quillotune-$version-setup.exe" | "Quillotune-$version-x64-setup.exe") ;;
*) fail "the installer's name $(basename "$setup") does not carry the version $version" ;;
esac

# The zip: one folder named after the version, the program and its engine in it.
listing="$(python3 -m zipfile -l "$zip" | awk 'NR > 1 {print $1}' | sort | tr '\n' ' ')" ||
    fail "cannot read $zip"
folder="Quillotune-$version"
[ "$listing" = "$folder/ $folder/DodIvadorO.dll $folder/Quillotune.exe " ] ||
    fail "the zip holds: $listing"

rm -rf "$work"
mkdir -p "$work" || exit 1
cp -a "$build/wineprefix" "$work/prefix" || fail "cannot copy the Wine prefix"
export WINEPREFIX="$work/prefix"
# Shortcuts stay inside the prefix: no menu entries for the desktop around it.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
trap '"$wineserver" -k 2>/dev/null; rm -rf "$work/prefix"' EXIT

drive="$WINEPREFIX/drive_c"
folder_win='C:\Program Files\Quillotune'
folder_unix="$drive/Program Files/Quillotune"
shortcut_win='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillotune.lnk'
shortcut_unix="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillotune.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillotune'

# Every file of the prefix's drive but Wine's own folder and the temporary ones.
files() { (cd "$drive" && find . -path ./windows -prune -o -ipath '*/temp' -prune -o -print | sort); }
value() { "$run" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -nE "s/^ +$1 +REG_[A-Z_]+ +//p"; }
entry_exists() { "$run" reg query "$key" >/dev/null 2>&1; }

files >"$work/before.txt"
entry_exists && fail "the prefix already lists Quillotune"

"$run" "$setup" /S || fail "the silent install failed ($?)"
for f in Quillotune.exe DodIvadorO.dll Uninstall.exe; do
    [ -f "$folder_unix/$f" ] || fail "the install left no $folder_win\\$f"
done
cmp -s "$folder_unix/Quillotune.exe" "$build/bin/Quillotune.exe" ||
    fail "the installed Quillotune.exe is not the build's"
resources="$("$windres" -i "$folder_unix/Quillotune.exe" -J coff -O rc)" ||
    fail "cannot read the installed program's resources"
grep -qF " PRODUCTVERSION ${version//./, }, 0" <<<"$resources" &&
    grep -qF "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" ||
    fail "the program's version resource is not $version: $(grep -i version <<<"$resources")"
[ -f "$shortcut_unix" ] || fail "no Start menu shortcut"
got="$(value DisplayName)|$(value DisplayVersion)|$(value Publisher)|$(value DisplayIcon)"
[ "$got" = "Quillotune|$version|Quillotune|$folder_win\\Quillotune.exe,0" ] ||
    fail "the uninstall entry says: $got"
[ "$(value UninstallString)" = "\"$folder_win\\Uninstall.exe\"" ] ||
    fail "the entry's uninstall command is: $(value UninstallString)"

# The program, as the Start menu starts it.
"$run" start "$shortcut_win" >/dev/null 2>&1 || fail "the shortcut did not start"
probe wait Quillotune 60 >/dev/null || fail "no Quillotune window came from the shortcut"
question="$(probe box Message 30)" || fail "the update question did not come"
case "$question" in
*"check it now?") probe answer Message 7 ;; # No
*) probe answer Message 6 ;;                # Yes, continue without checking
esac || fail "could not answer the update question"
recorders="$(probe items Quillotune 1006)"
grep -q '^Image Recorder' <<<"$recorders" || fail "the recorder list shows: '$recorders'"
probe click Quillotune 1017 || fail "could not press Exit"
probe gone Quillotune 30 || fail "the program did not close"
"$wineserver" -w

# A file of the user's own in the program folder stays, and with it the folder.
echo "my notes" >"$folder_unix/notes.txt"
"$run" "$folder_win\\Uninstall.exe" /S || fail "the silent uninstall failed ($?)"
# The uninstaller runs on from a copy of itself, so it is done when Wine is.
"$wineserver" -w
[ "$(ls -A "$folder_unix" 2>&1)" = notes.txt ] ||
    fail "after the uninstall the program folder holds: $(ls -A "$folder_unix" 2>&1)"
rm -r "$folder_unix"
entry_exists && fail "the uninstall entry is still listed"
[ -e "$shortcut_unix" ] && fail "the Start menu shortcut is still there"
files >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" >"$work/left.txt" ||
    fail "the install changed the drive: $(cat "$work/left.txt")"
echo "PASS: $(basename "$setup") installed, started the program from the Start menu and was" \
    "uninstalled without a trace; $(basename "$zip") holds the program and its engine"
