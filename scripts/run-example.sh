#!/usr/bin/env bash
# Installs what is missing, builds, and runs Ravlet on the bundled examples/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/build.sh ravlet-cli
cli="$PWD/build/src/cli/ravlet-cli"

cd examples
echo "\$ ravlet-cli versions"
"$cli" versions
echo "\$ ravlet-cli detect tarven.ini"
"$cli" detect tarven.ini
