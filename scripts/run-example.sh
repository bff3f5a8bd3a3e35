#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Ravlet window in examples/, where it
# finds the bundled rvbase.txt and tarven.ini (Load opens examples/tarven.ini).
# Without a display, ravlet says so and how to start it under a virtual one
# (xvfb-run -a bash scripts/run-example.sh).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/build.sh ravlet ravlet-cli
app="$PWD/build/src/app/ravlet"

cd examples
exec "$app"
