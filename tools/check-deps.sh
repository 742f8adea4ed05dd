#!/usr/bin/env bash
# Fails when a layer includes a header of a layer above it or beside it, or of a window system.
# The layers, lowest first:
#   core      platform/: lists, files, streams, images and PNG, degree maths, random numbers
#   graphics  the rest of platform/ (and platform/detail/): the drawing front end, the driver
#             interface, font, clock, input queries, the window-system interface
#   physics   physics/, on core and graphics
#   api       physics/api/, on physics
#   demo, samples: programs on all of the above
# The drivers (platform/sdl/, platform/TGLDriver2D.h, platform/TSDLDriver2D.h) are a layer beside
# physics: on core and graphics, used only by programs. Only they include SDL or OpenGL headers.
# scenes/ is shared by tests, benchmarks and tools, which do not include one another, and shown by the
# samples.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

core='^platform/(Clamp|DegMath|FileSystem|PngCodec|Poison|Random|TImage|TList|TStream)\.(h|cpp)$'
core_headers='platform/(Clamp|DegMath|FileSystem|Poison|Random|TImage|TList|TStream)\.h'
drivers='platform/(sdl/|TGLDriver2D\.|TSDLDriver2D\.)'
drivers_file="^$drivers"
window_system='<(SDL|SDL2/|GL/|GLES|EGL/|KHR/)'

# files <pathspec>... : the sources under the paths.
files() { git ls-files -- "$@" | grep -E '\.(h|cpp|inc)$' || true; }

# forbid <layer> <what it must not include, in words> <forbidden include pattern> <files...>
forbid() {
  local name=$1 what=$2 pattern=$3 hits
  shift 3
  [ $# -gt 0 ] || return 0
  hits=$(grep -HnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*($pattern)" "$@" || true)
  if [ -n "$hits" ]; then
    echo "check-deps: $name must not include $what:"
    echo "$hits"
    status=1
  fi
}

mapfile -t platform_files < <(files platform)
core_files=() graphics_files=() driver_files=()
for f in "${platform_files[@]}"; do
  if [[ $f =~ $core ]]; then
    core_files+=("$f")
  elif [[ $f =~ $drivers_file ]]; then
    driver_files+=("$f")
  else
    graphics_files+=("$f")
  fi
done
mapfile -t physics_files < <(files physics ':!physics/api')
mapfile -t api_files < <(files physics/api)
mapfile -t program_files < <(files demo samples)
mapfile -t scene_files < <(files scenes)
mapfile -t test_files < <(files tests)
mapfile -t bench_files < <(files bench)
mapfile -t tool_files < <(files tools)
mapfile -t example_files < <(files examples)

programs='"(demo|samples)/'
harness='"(scenes|tests|bench|tools)/'

# The core includes only core headers of platform/, and no window system.
forbid "the core" "SDL, OpenGL, physics, programs or their harness" "$window_system|\"physics/|$programs|$harness" "${core_files[@]}"
for f in "${core_files[@]}"; do
  while IFS= read -r hit; do
    header=${hit#*\"}
    header=${header%%\"*}
    if [[ ! $header =~ ^$core_headers$ ]]; then
      echo "check-deps: the core must not include $header:"
      echo "$f:$hit"
      status=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"platform/' "$f" || true)
done
forbid "the graphics front end" "SDL, OpenGL, the drivers, physics, programs or their harness" "$window_system|\"$drivers|\"physics/|$programs|$harness" "${graphics_files[@]}"
forbid "the drivers" "physics, programs or their harness" "\"physics/|$programs|$harness" "${driver_files[@]}"
forbid "physics" "SDL, OpenGL, the drivers, physics/api, programs or their harness" "$window_system|\"$drivers|\"physics/api/|$programs|$harness" "${physics_files[@]}"
forbid "physics/api" "SDL, OpenGL, the drivers, programs or their harness" "$window_system|\"$drivers|$programs|$harness" "${api_files[@]}"
forbid "the demo and samples" "the test, benchmark and tool harness" '"(tests|bench|tools)/' "${program_files[@]}"
# The installed headers keep the step's working state to themselves: no public header of the physics
# includes a private one.
mapfile -t public_physics_headers < <(git ls-files -- 'physics/*.h' 'physics/api/*.h' | grep -v '/detail/' || true)
forbid "the public physics headers" "private headers (detail/)" "\"[^\"]*detail/" "${public_physics_headers[@]}"
# The examples use what an installed package offers: public headers only.
forbid "the examples" "private headers (detail/, platform/sdl/), SDL, OpenGL or the harness" "$window_system|\"[^\"]*detail/|\"platform/sdl/|$programs|$harness" "${example_files[@]}"
# Tests, benchmarks and tools share scenes/ and nothing else of one another.
forbid "scenes" "tests, benchmarks or tools" '"(tests|bench|tools)/' "${scene_files[@]}"
forbid "the tests" "benchmarks or tools" '"(bench|tools)/' "${test_files[@]}"
forbid "the benchmarks" "tests, tools or GoogleTest" '"(tests|tools)/|<gtest/|<gmock/' "${bench_files[@]}"
forbid "the tools" "tests or benchmarks" '"(tests|bench)/' "${tool_files[@]}"
exit $status
