#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Ravlet window on a fresh copy of
# examples/ in build/examples/, where it finds the bundled rvbase.txt and tarven.ini
# (Load opens build/examples/tarven.ini): what the window saves goes there, and the
# checkout's own examples/ stay as they are.
# Without a display, ravlet says so and how to start it under a virtual one
# (xvfb-run -a bash scripts/run-example.sh).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/build.sh ravlet ravlet-cli
app="$PWD/build/src/app/ravlet"

copy="$PWD/build/examples"
rm -rf "$copy"
cp -r examples "$copy"
echo "Ravlet works on a copy of the examples: $copy" >&2
cd "$copy"
exec "$app"
