#!/usr/bin/env bash
# `cmake --install` into a scratch prefix puts every file in place, and the desktop entry
# (whose Path names that prefix) and the AppStream metadata validate.
# Usage: test_install.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
scratch=$2
source "$(dirname "$0")/common.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" || { cat "$scratch/install.log"; Fail "cmake --install failed"; }
CheckInstalledTree "" "$prefix"
rm -rf "$scratch"
echo "installed tree under $prefix is complete and valid"
