#!/usr/bin/env bash
# Builds Ravel and runs every test: the debug suite, the sanitizer suite, the golden digests in
# builds optimised by g++ and by clang, and a short fuzzing run. Installs the Debian packages it needs
# first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/check-format.sh
tools/check-deps.sh
cmake --workflow --preset ci
cmake --build --preset ci --target docs
cmake --workflow --preset asan
# Only the golden digests and the kernel: a transform that only the optimiser makes shows up here.
cmake --workflow --preset golden-gcc
cmake --workflow --preset golden-clang
tools/fuzz.sh smoke
