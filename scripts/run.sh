#!/usr/bin/env bash
# Sets up and builds Tandor, then starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/bin/tandor "$@"
