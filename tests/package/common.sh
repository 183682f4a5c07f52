# Checks shared by the install and package tests: the installed tree of the game under a
# root folder, its desktop entry and AppStream metadata validated by the desktop's own tools.
# Sourced by test_install.sh and test_package.sh.

Fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Width and height of a PNG, from its header.
PngSize() {
    local bytes
    bytes=($(od -An -tu1 -j16 -N8 "$1"))
    echo "$(( (bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3] ))x$(( (bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7] ))"
}

# CheckInstalledTree ROOT PREFIX: the files of PREFIX are found under ROOT (ROOT is empty
# for a plain install, the unpacking folder for a package); the desktop entry's Path must
# name PREFIX/share/lumera8.
CheckInstalledTree() {
    local root=$1 prefix=$2
    local top="$root$prefix"
    local data="$top/share/lumera8"
    for file in bin/lumera8 bin/lumera8-check lib/lumera8/lumera8_sound.so share/lumera8/Lumera8.dat share/lumera8/lumera8.html \
                share/lumera8/screenshot.png share/applications/lumera8.desktop \
                share/metainfo/example.lumera.lumera8.metainfo.xml share/man/man6/lumera8.6 share/man/man1/lumera8-check.1; do
        [ -f "$top/$file" ] || Fail "$top/$file is missing"
    done
    [ -x "$top/bin/lumera8" ] && [ -x "$top/bin/lumera8-check" ] || Fail "the programs are not executable"
    for size in 16 32 48 64 128 256; do
        local icon="$top/share/icons/hicolor/${size}x${size}/apps/lumera8.png"
        [ -f "$icon" ] || Fail "$icon is missing"
        [ "$(PngSize "$icon")" = "${size}x${size}" ] || Fail "$icon is $(PngSize "$icon"), not ${size}x${size}"
    done

    local entry="$top/share/applications/lumera8.desktop"
    desktop-file-validate "$entry" || Fail "desktop-file-validate rejects $entry"
    grep -qx "Path=$prefix/share/lumera8" "$entry" || Fail "$entry: Path is not $prefix/share/lumera8: $(grep '^Path=' "$entry")"
    grep -qx "Exec=lumera8" "$entry" || Fail "$entry: Exec is not lumera8"
    grep -qx "Icon=lumera8" "$entry" || Fail "$entry: Icon is not lumera8"
    appstreamcli validate --no-net "$top/share/metainfo/example.lumera.lumera8.metainfo.xml" ||
        Fail "appstreamcli rejects the metainfo"
    # The tree check also matches the file name to the id and the launchable to the entry.
    local treeReport
    treeReport=$(appstreamcli validate-tree --no-net "$top" 2>&1) ||
        { echo "$treeReport"; Fail "appstreamcli rejects the installed tree"; }
    if grep -q dir-no-metadata-found <<<"$treeReport"; then Fail "appstreamcli found no metadata in $top"; fi

    # The installed checker finds the installed collection clean.
    "$top/bin/lumera8-check" "$data/Lumera8.dat" || Fail "the installed collection does not check clean"
}
