#!/usr/bin/env bash
# Sets up and builds Tandor, then starts it. Only what the program needs is
# built (the program, its help documents and TDRPARAM.TXT); the test command
# builds the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_TARGETS="tandor documents program_folder" bash scripts/setup.sh
exec build/bin/tandor "$@"
