#!/usr/bin/env bash
# Builds Ravel and runs every test: the debug suite, then the sanitizer suite.
# Installs the Debian packages it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/check-format.sh
tools/check-deps.sh
cmake --workflow --preset ci
cmake --build --preset ci --target docs
cmake --workflow --preset asan
tools/fuzz.sh smoke
