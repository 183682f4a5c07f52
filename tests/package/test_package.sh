#!/usr/bin/env bash
# The Debian package: cpack builds it, it holds every installed file, its dependencies were
# worked out from the binaries, the fonts it depends on give a proportional sans-serif face,
# and, unpacked into a scratch root (never installed on this machine), its desktop entry and
# metadata validate and its game starts headless in the folder that the desktop entry names,
# finds its collection there and runs without crashing.
# Usage: test_package.sh BUILD_DIR SCRATCH_DIR VERSION
set -euo pipefail
build=$1
scratch=$2
version=$3
source "$(dirname "$0")/common.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; Fail "cpack failed"; }
deb="$scratch/cpack/lumera8_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$scratch/cpack"; Fail "no $deb"; }

# Contents.
dpkg-deb -c "$deb" | awk '{print $NF}' >"$scratch/contents"
for path in ./usr/bin/lumera8 ./usr/bin/lumera8-check ./usr/lib/lumera8/lumera8_sound.so ./usr/share/lumera8/Lumera8.dat \
            ./usr/share/lumera8/lumera8.html ./usr/share/lumera8/screenshot.png \
            ./usr/share/applications/lumera8.desktop ./usr/share/metainfo/example.lumera.lumera8.metainfo.xml \
            ./usr/share/icons/hicolor/16x16/apps/lumera8.png ./usr/share/icons/hicolor/256x256/apps/lumera8.png \
            ./usr/share/man/man6/lumera8.6 ./usr/share/man/man1/lumera8-check.1; do
    grep -qx "$path" "$scratch/contents" || { cat "$scratch/contents"; Fail "$path is not in the package"; }
done
if grep -v -e '^\./$' -e '^\./usr/' "$scratch/contents"; then Fail "the package puts files outside /usr"; fi

# Control fields; the Qt and C libraries come from dpkg-shlibdeps.
[ "$(dpkg-deb -f "$deb" Package)" = lumera8 ] || Fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || Fail "wrong version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-liberation2 fonts-dejavu-core qt6-qpa-plugins libqt6widgets6 libqt6multimedia6 libc6 libstdc++6; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || Fail "Depends lacks $needed: $depends"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ ", $recommends," == *", xdg-utils"[\ ,]* ]] || Fail "Recommends lacks xdg-utils: $recommends"

# The fonts the package depends on, and no others, give the interface a proportional
# sans-serif face (fontconfig's standard rules; fonts-liberation2 alone gives Liberation Mono).
fonts="$scratch/fonts.conf"
{
    echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd"><fontconfig>'
    for font_package in $(tr ',' '\n' <<<"$depends" | awk '{print $1}' | grep '^fonts-'); do
        dpkg-query -W -f='${Status}' "$font_package" 2>/dev/null | grep -q "install ok installed" ||
            Fail "$font_package is not installed here (bash tools/install-deps.sh)"
        dpkg -L "$font_package" | grep -E '\.(ttf|otf)$' | xargs -r -n1 dirname | sort -u | sed 's|.*|<dir>&</dir>|'
    done
    echo "<cachedir>$scratch/fontcache</cachedir><include ignore_missing=\"yes\">/etc/fonts/conf.d</include></fontconfig>"
} >"$fonts"
face=$(FONTCONFIG_FILE="$fonts" fc-match -f '%{family}|%{spacing}' sans-serif)
echo "sans-serif with the package's fonts: $face"
case ${face#*|} in
    '' | 0) ;;
    *) Fail "sans-serif is not proportional with the package's fonts: $face" ;;
esac

# Unpack and check the tree as installed under /usr.
root="$scratch/root"
dpkg -x "$deb" "$root"
CheckInstalledTree "$root" /usr

# Start the game where the desktop entry's Path says, with settings that name the collection
# by its relative name (the way the game stores it). Had the game not found it there, it would
# wait on its fallback message and never rewrite the settings.
config="$scratch/config"
mkdir -m 700 "$scratch/runtime"
mkdir -p "$config/lumera8"
record="0a,$(printf 'Lumera 7.0' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//')"
record+=",0b,$(printf 'Lumera8.dat' | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//')"
for ((i = 0; i < 122; ++i)); do record+=",00"; done
record+=",01,00,00,00,00,00,00"  # Show Correct Letters on, Sound off, alignment, puzzle index 0
[ "$(tr ',' '\n' <<<"$record" | wc -l)" -eq 152 ] || Fail "the settings record is not 152 bytes"
settings="$config/lumera8/registry.reg"
printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\n"fRegInfo"=hex:%s\n' "$record" >"$settings"
touch -d '2001-01-01 00:00:00' "$settings"

status=0
(cd "$root/usr/share/lumera8" &&
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$scratch/runtime" \
    timeout 5 "$root/usr/bin/lumera8") >"$scratch/game.log" 2>&1 || status=$?
cat "$scratch/game.log"
case $status in
    124 | 0) ;;  # ran until it was stopped (or ended on its own)
    *) Fail "the installed game ended with status $status" ;;
esac
[ "$(stat -c %Y "$settings")" -gt "$(date -d '2001-01-02' +%s)" ] ||
    Fail "the game did not store its settings: it did not open Lumera8.dat in $root/usr/share/lumera8"
grep -q '"fRegInfo"=hex:' "$settings" || Fail "the settings lost the record"

rm -rf "$scratch"
echo "package $deb is complete, valid and its game starts"
