#!/usr/bin/env bash
# Sets up and builds Tandor, then starts it. Only what the program needs is
# built (the program, its help documents and TDRPARAM.TXT); the test command
# builds the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
# A new build folder is built without debug information (Release), the
# quickest build; one made before keeps its build type (the test command
# builds RelWithDebInfo).
if [ -z "${BUILD_TYPE:-}" ] && [ -f build/CMakeCache.txt ]; then
    BUILD_TYPE=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' build/CMakeCache.txt)
fi
export BUILD_TYPE=${BUILD_TYPE:-Release}
BUILD_TARGETS="tandor documents program_folder" bash scripts/setup.sh
exec build/bin/tandor "$@"
