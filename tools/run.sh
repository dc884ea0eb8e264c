#!/usr/bin/env bash
# Installs what is missing, builds and starts Merrow Rigwise on this computer's network.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
exec build/merrow-rigwise "$@"
