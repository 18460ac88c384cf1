#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
. tools/install-deps.sh
qb_install_deps
qb_build
cd build
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
