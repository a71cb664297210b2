#!/usr/bin/env bash
# Configures a sanitizer build folder, build/address or build/thread:
#   tools/sanitizer_build.sh address|thread
# Both use clang when it is installed: it builds them faster than g++, and the
# address build then also holds the libFuzzer targets of fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=$1
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELT_SANITIZE="$kind")
# Through ccache where it is installed (test.sh installs it).
command -v ccache >/dev/null && args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if command -v clang++ >/dev/null; then
    args+=(-DCMAKE_CXX_COMPILER=clang++)
    [ "$kind" = address ] && args+=(-DZELT_FUZZ=ON)
fi
cmake -S . -B "build/$kind" -G Ninja "${args[@]}" >/dev/null
