#!/usr/bin/env bash
# Release checks: `scripts/dist` run twice, in two folders at two times, gives the same bytes;
# in a fresh Wine prefix the installer it made installs over a lower version, makes Torvex the
# screen saver (not with /NOACTIVATE), writes one Apps & Features entry, and the saver it
# installed runs; the silent uninstall removes it all but the user's settings; the version
# resource reads right from inside Wine; the uninstall ends a running saver, and where it cannot
# (the file held by the settings dialog) it says a reboot is needed and a reinstall survives that
# reboot (`wineboot -r`); a chosen saver that is not the installed file stays chosen, the
# installed one in double quotes does not; an install into another folder (/D) first removes the
# earlier one; a throwaway certificate signs both files.
# Work files go to build/release-test/, screenshots to artifacts/release/.
set -u
cd "$(dirname "$0")/../.."
root=$(pwd)
work=$root/build/release-test
art=artifacts/release
win64=build/win64
prefix=$work/wineprefix
mkdir -p "$art"

fail() { echo "release.sh: FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }
for tool in makensis zip unzip osslsigncode openssl; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/bootstrap installs it)"
done
for f in Torvex.scr tests/windows/file_version.exe tests/windows/launcher.exe; do
  [ -f "$win64/$f" ] || fail "$win64/$f is missing: build the win64 preset first"
done
# window, colour_fractions, at_least, at_most
source tests/e2e/lib/screen.bash
source tests/e2e/lib/build_twice.bash

# ---- Reproducibility: two copies of the source, two clean builds ------------------------------
step "make dist twice, in two folders at two times, gives the same bytes"
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) || fail "not a git checkout"
[ -d "$prefix.state" ] && scripts/wine-run --prefix "$prefix" --stop
build_twice "$work" scripts/dist "make dist" dist
version=$(cat "$a/build/dist/VERSION")
name=Torvex-$version-win64
for f in build/dist/Torvex.scr "dist/$name.zip" "dist/$name-installer.exe" dist/SHA256SUMS; do
  cmp -s "$a/$f" "$b/$f" || fail "$f differs between the two builds"
done
(cd "$a/dist" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not check"
grep -q 'unsigned release' "$work/dist-a.log" || fail "make dist did not say the release is unsigned"
for text in "$a" "$b" "$root" release-test; do
  if strings -a "$a/build/dist/Torvex.scr" | grep -qF "$text" ||
    strings -a -el "$a/build/dist/Torvex.scr" | grep -qF "$text"; then
    fail "Torvex.scr holds the build path '$text'"
  fi
done
x86_64-w64-mingw32-objdump -p "$a/build/dist/Torvex.scr" | grep -q 'Time/Date.*1970' ||
  fail "Torvex.scr has a link time stamp"
[ "$(unzip -Z1 "$a/dist/$name.zip" | tr '\n' ' ')" = "LICENSE.txt README.txt Torvex.scr " ] ||
  fail "the zip does not hold LICENSE.txt, README.txt and Torvex.scr"
unzip -p "$a/dist/$name.zip" README.txt | grep -q $'Uninstalling.*\r$' ||
  fail "README.txt lacks the uninstall part or Windows line endings"
echo "   identical; installer $(stat -c %s "$a/dist/$name-installer.exe") bytes, make dist ${seconds} s"

# ---- Installer and uninstaller in a fresh Wine prefix ---------------------------------------------
export TORVEX_OWN_DISPLAY=1
scripts/wine-run --prefix "$prefix" --boot || fail "the Wine prefix did not boot"
trap 'scripts/wine-run --prefix "$prefix" --stop' EXIT
export DISPLAY=":$(cat "$prefix.state/xvfb.display")"
drive=$prefix/drive_c
win() { scripts/wine-run --prefix "$prefix" -- "$@"; }
# The data of one registry value, or nothing (and a non-zero status) when it is not there.
regval() {  # key name
  win reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$(printf '%s' "$2" | sed 's/\./\\./g') \{2,\}REG_[A-Z_]* \{2,\}//p" | grep .
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvex'
desktop='HKCU\Control Panel\Desktop'
user_key='HKCU\Software\Qor\Torvex Saver V2'
entries() {  # how many Apps & Features entries are named "The Torvex"
  win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | tr -d '\r' |
    grep -cE '^ +DisplayName +REG_SZ +The Torvex$'
}

step "a lower version installed with /NOACTIVATE leaves the screen saver alone"
scripts/dist --scr "$a/build/dist/Torvex.scr" --version 1.9.0 --out "$work/old" >"$work/dist-old.log" 2>&1 ||
  { cat "$work/dist-old.log"; fail "the 1.9.0 installer could not be made"; }
win reg add "$user_key" /v MSTRING /t REG_SZ /d "RELEASE CHECK" /f >/dev/null || fail "could not store a message"
win "$work/old/Torvex-1.9.0-win64-installer.exe" /S /NOACTIVATE || fail "the 1.9.0 installer failed"
[ "$(regval "$uninstall_key" DisplayVersion)" = 1.9.0 ] || fail "no entry for 1.9.0"
[ -z "$(regval "$desktop" SCRNSAVE.EXE)" ] || fail "/NOACTIVATE set SCRNSAVE.EXE"

step "a silent install over it: the saver, one entry with the new version, the saver chosen"
win "$a/dist/$name-installer.exe" /S || fail "the installer failed"
cmp -s "$drive/windows/system32/Torvex.scr" "$a/build/dist/Torvex.scr" ||
  fail "the installed Torvex.scr is not the built one"
for f in README.txt LICENSE.txt uninstall.exe; do
  [ -f "$drive/Program Files/Torvex/$f" ] || fail "Program Files\\Torvex\\$f is missing"
done
[ "$(entries)" = 1 ] || fail "not exactly one Apps & Features entry named The Torvex"
while IFS='|' read -r value expected; do
  actual=$(regval "$uninstall_key" "$value")
  [ "$actual" = "$expected" ] || fail "entry value $value is '$actual', expected '$expected'"
done <<TABLE
DisplayName|The Torvex
DisplayVersion|$version
Publisher|Qor
DisplayIcon|C:\\windows\\system32\\Torvex.scr,0
InstallLocation|C:\\Program Files\\Torvex
UninstallString|"C:\\Program Files\\Torvex\\uninstall.exe"
QuietUninstallString|"C:\\Program Files\\Torvex\\uninstall.exe" /S
NoModify|0x1
NoRepair|0x1
TABLE
size=$(regval "$uninstall_key" EstimatedSize)
kb=$(($(stat -c %s "$a/build/dist/Torvex.scr") / 1024))
[ -n "$size" ] && [ $((size)) -ge "$kb" ] && [ $((size)) -lt $((kb * 3)) ] ||
  fail "EstimatedSize is '$size' KB for a saver of $kb KB"
saver=$(regval "$desktop" SCRNSAVE.EXE)
[ "$saver" = 'C:\windows\system32\Torvex.scr' ] || fail "SCRNSAVE.EXE is '$saver'"
[ "$(regval "$desktop" ScreenSaveActive)" = 1 ] || fail "the screen saver is not turned on"
[ "$(regval "$user_key" MSTRING)" = "RELEASE CHECK" ] || fail "the install lost the stored message"

step "the installed version resource, read by Windows"
win "$win64/tests/windows/file_version.exe" "$saver" >"$work/version.txt" ||
  { cat "$work/version.txt"; fail "no version resource in the installed saver"; }
tr -d '\r' <"$work/version.txt" >"$work/version.clean"
while IFS= read -r line; do
  grep -qxF "$line" "$work/version.clean" || { cat "$work/version.clean"; fail "no '$line'"; }
done <<TABLE
FixedFileVersion=$version.0
FileVersion=$version
ProductVersion=$version
ProductName=The Torvex
CompanyName=Qor
OriginalFilename=Torvex.scr
LegalCopyright=$(grep -m1 '^Copyright ' LICENSE)
IconSizes=16 24 32 48 64 128 256
TABLE

step "the saver that SCRNSAVE.EXE names shows rain and a key ends it"
xdotool mousemove 200 200
rm -f "$work/saver.rc"
( win "$saver" /s >"$work/saver.log" 2>&1; echo $? >"$work/saver.rc" ) &
[ -n "$(window Torvex 60)" ] || fail "no saver window appeared (log: $work/saver.log)"
sleep 1.5
import -window root "$art/installed-rain.png" || fail "no screenshot"
read -r dark green white < <(colour_fractions "$art/installed-rain.png")
echo "   dark $dark, green $green, white $white (fractions of the screen)"
at_least "$dark" 0.5 && at_least "$green" 0.01 || fail "no rain on the screen ($art/installed-rain.png)"
xdotool key space
for _ in $(seq 50); do [ -s "$work/saver.rc" ] && break; sleep 0.1; done
[ "$(cat "$work/saver.rc" 2>/dev/null)" = 0 ] || fail "a key did not end the saver with exit code 0"

# Runs the entry's QuietUninstallString as Windows would. The uninstaller copies itself to the
# temporary folder, starts the copy and returns at once: wait for the copy's work to show.
uninstall_quietly() {  # [the installation's folder, C:\Program Files\Torvex by default]
  local folder=${1:-'C:\Program Files\Torvex'} quiet unix
  unix=${folder#C:\\}
  unix=$drive/${unix//\\//}
  quiet=$(regval "$uninstall_key" QuietUninstallString) || fail "no QuietUninstallString"
  win "$win64/tests/windows/launcher.exe" "$folder\\uninstall.exe" "$quiet" \
    >/dev/null || fail "the uninstaller could not be started"
  for _ in $(seq 60); do [ -e "$unix" ] || break; sleep 0.5; done
}

step "the silent uninstall (the entry's QuietUninstallString) removes all but the user's settings"
uninstall_quietly
[ ! -e "$drive/Program Files/Torvex" ] || fail "Program Files\\Torvex is still there"
[ ! -e "$drive/windows/system32/Torvex.scr" ] || fail "system32\\Torvex.scr is still there"
[ -z "$(regval "$uninstall_key" DisplayName)" ] || fail "the Apps & Features entry is still there"
[ -z "$(regval "$desktop" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE still names Torvex"
[ "$(regval "$user_key" MSTRING)" = "RELEASE CHECK" ] || fail "the uninstall removed the user's settings"

step "another chosen screen saver stays chosen through /NOACTIVATE and the uninstall"
other='C:\windows\system32\Other.scr'
win reg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null || fail "could not choose a saver"
win "$a/dist/$name-installer.exe" /S /NOACTIVATE || fail "the installer failed"
[ "$(regval "$desktop" SCRNSAVE.EXE)" = "$other" ] || fail "/NOACTIVATE replaced the chosen saver"
uninstall_quietly
[ ! -e "$drive/windows/system32/Torvex.scr" ] || fail "the second uninstall left Torvex.scr"
[ "$(regval "$desktop" SCRNSAVE.EXE)" = "$other" ] || fail "the uninstall cleared another saver"

# ---- A running saver and the uninstall ------------------------------------------------------
pending() { regval 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager' PendingFileRenameOperations; }
start_installed() {  # name switch: runs the installed saver in the background, its exit code in $work/NAME.rc
  rm -f "$work/$1.rc"
  ( win 'C:\windows\system32\Torvex.scr' "$2" >/dev/null 2>&1; echo $? >"$work/$1.rc" ) &
}

step "the uninstall ends a running saver and removes it; SCRNSAVE.EXE in capitals is cleared"
win "$a/dist/$name-installer.exe" /S || fail "the installer failed"
win reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\WINDOWS\SYSTEM32\TORVEX.SCR' /f >/dev/null || fail "reg"
xdotool mousemove 200 200
start_installed running /s
[ -n "$(window Torvex 60)" ] || fail "no saver window appeared"
uninstall_quietly
for _ in $(seq 50); do [ -s "$work/running.rc" ] && break; sleep 0.1; done
[ "$(cat "$work/running.rc" 2>/dev/null)" = 0 ] || fail "the uninstall did not end the saver (code 0)"
[ ! -e "$drive/windows/system32/Torvex.scr" ] || fail "system32\\Torvex.scr is still there"
pending | grep -qi Torvex && fail "the uninstall left a pending deletion: $(pending)"
[ -z "$(regval "$desktop" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE in capitals was not cleared"

step "a file it cannot free: reboot needed (3010); a reinstall survives wineboot -r"
win "$a/dist/$name-installer.exe" /S || fail "the installer failed"
start_installed dialog /c  # the settings dialog holds the file and has no saver window to close
dialog=$(window 'The Torvex Screen Saver Settings' 60)
[ -n "$dialog" ] || fail "no settings dialog appeared"
# Another program's pending deletion, which must stay (a .reg file: reg.exe writes no empty string).
printf decoy >"$drive/decoy.txt"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"PendingFileRenameOperations"=hex(7):%s\r\n' \
  'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager' \
  "$(printf '\\??\\C:\\decoy.txt\0\0\0' | iconv -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',' |
    sed 's/^,//; s/,$//')" | iconv -t UTF-16 >"$drive/decoy.reg"
win regedit /S 'C:\decoy.reg' && pending | grep -q decoy || fail "no decoy deletion pending"
# In place (_?= last and unquoted, as only the launcher gives it), so its own exit code is seen.
code=$(win "$win64/tests/windows/launcher.exe" 'C:\Program Files\Torvex\uninstall.exe' \
  '"C:\Program Files\Torvex\uninstall.exe" /S _?=C:\Program Files\Torvex' | tr -d '\r')
[ "$code" = "exit code 3010" ] || fail "the uninstaller gave '$code', expected 3010 (reboot needed)"
pending | grep -qi 'system32\\Torvex\.scr' || fail "no pending deletion of Torvex.scr: $(pending)"
xdotool key --window "$dialog" Escape
for _ in $(seq 100); do [ -s "$work/dialog.rc" ] && break; sleep 0.1; done
win "$a/dist/$name-installer.exe" /S || fail "the reinstall failed"
pending | grep -qi Torvex && fail "the reinstall left the pending deletion: $(pending)"
pending | grep -q decoy || fail "the reinstall removed another program's pending deletion"
win wineboot -r || fail "wineboot -r failed"
[ ! -e "$drive/decoy.txt" ] || fail "wineboot -r did not carry out the pending deletions"
cmp -s "$drive/windows/system32/Torvex.scr" "$a/build/dist/Torvex.scr" || fail "Torvex.scr is gone"

step "a copy of its own, C:\\Savers\\Torvex.scr, stays the chosen saver through the uninstall"
mkdir -p "$drive/Savers" && cp "$a/build/dist/Torvex.scr" "$drive/Savers/"
win reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\Savers\Torvex.scr' /f >/dev/null || fail "reg"
uninstall_quietly
[ ! -e "$drive/windows/system32/Torvex.scr" ] || fail "the uninstall left system32\\Torvex.scr"
[ "$(regval "$desktop" SCRNSAVE.EXE)" = 'C:\Savers\Torvex.scr' ] && [ -e "$drive/Savers/Torvex.scr" ] ||
  fail "the uninstall cleared or removed C:\\Savers\\Torvex.scr"

step "an install into another folder (/D) removes the earlier one; a quoted SCRNSAVE.EXE is cleared"
win "$a/dist/$name-installer.exe" /S || fail "the installer failed"
win "$a/dist/$name-installer.exe" /S /NOACTIVATE '/D=C:\Torvex' || fail "the install into C:\\Torvex failed"
[ ! -e "$drive/Program Files/Torvex" ] && [ -f "$drive/Torvex/uninstall.exe" ] ||
  fail "the earlier folder is still there, or C:\\Torvex has no uninstaller"
[ "$(entries)" = 1 ] && [ "$(regval "$uninstall_key" InstallLocation)" = 'C:\Torvex' ] ||
  fail "not one Apps & Features entry, naming C:\\Torvex"
[ -f "$drive/windows/system32/Torvex.scr" ] &&
  [ "$(regval "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\Torvex.scr' ] || fail "the move lost the saver or its choice"
quoted='"C:\windows\system32\Torvex.scr"'
win reg add "$desktop" /v SCRNSAVE.EXE /d "$quoted" /f >/dev/null &&
  [ "$(regval "$desktop" SCRNSAVE.EXE)" = "$quoted" ] || fail "could not store SCRNSAVE.EXE in quotes"
uninstall_quietly 'C:\Torvex'
[ ! -e "$drive/Torvex" ] || fail "the uninstall left C:\\Torvex"
[ -z "$(regval "$desktop" SCRNSAVE.EXE)" ] || fail "SCRNSAVE.EXE in double quotes was not cleared"

# ---- Signing ----------------------------------------------------------------------------------------
step "a throwaway certificate signs Torvex.scr and the installer"
osslsigncode verify -in "$a/dist/$name-installer.exe" >/dev/null 2>&1 &&
  fail "the unsigned installer verifies as signed"
keys=$work/keys
mkdir -p "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/key.pem" -out "$keys/cert.pem" -days 2 \
  -subj "/CN=Torvex release check" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1 &&
  openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$keys/sign.pfx" \
    -passout pass:release-check >/dev/null 2>&1 || fail "openssl could not make a certificate"
TORVEX_SIGN_PFX=$keys/sign.pfx TORVEX_SIGN_PASSWORD=release-check \
  scripts/dist --scr "$a/build/dist/Torvex.scr" --out "$work/signed" >"$work/dist-signed.log" 2>&1 ||
  { cat "$work/dist-signed.log"; fail "the signed release could not be made"; }
(cd "$work/signed" && unzip -q "$name.zip" Torvex.scr)
for f in "$work/signed/Torvex.scr" "$work/signed/$name-installer.exe"; do
  osslsigncode verify -CAfile "$keys/cert.pem" -in "$f" >"$work/verify.log" 2>&1 &&
    grep -q 'Signature verification: ok' "$work/verify.log" ||
    { cat "$work/verify.log"; fail "$(basename "$f") carries no valid signature"; }
done

# A passing run leaves no Wine prefix behind (it is large); a failing one keeps it to look into.
scripts/wine-run --prefix "$prefix" --stop
trap - EXIT
rm -rf "$prefix" "$prefix.state"
echo "release.sh: all checks passed (work files in build/release-test/)"
