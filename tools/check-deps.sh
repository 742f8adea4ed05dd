#!/usr/bin/env bash
# Fails when a layer includes a header of a layer above it.
# The layers, lowest first: platform, physics, physics/api, demo.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
check() { # directory, pattern of forbidden includes
  local hits
  hits=$(git ls-files "$1" | grep -E '\.(h|cpp)$' | xargs -r grep -HnE "#include \"($2)/" || true)
  if [ -n "$hits" ]; then
    echo "check-deps: $1 must not include $2:"; echo "$hits"; status=1
  fi
}
check platform 'physics|demo'
check physics 'demo'
# physics/ itself must not reach into its api/ subfolder
hits=$(git ls-files physics | grep -v '^physics/api/' | grep -E '\.(h|cpp)$' | xargs -r grep -HnE '#include "physics/api/' || true)
if [ -n "$hits" ]; then echo "check-deps: physics must not include physics/api:"; echo "$hits"; status=1; fi
exit $status
