#!/usr/bin/env bash
# Installs the Debian 12 packages Ravlet is built and tested with, only those missing,
# so a machine that has them all goes through in a moment. With package names as
# arguments, those instead (the Windows build's own tools, say).
#   bash scripts/install-deps.sh [PACKAGE...]
set -euo pipefail

# dpkg-dev and file: the Debian package's library dependencies (dpkg-shlibdeps);
# man-db: the manual pages are checked as man renders them; strace: the crash tests inject
# kills and delays into system calls; weston and qt6-wayland: the window is tried on a
# headless Wayland compositor.
packages=(cmake g++ libgtest-dev libgmock-dev qt6-base-dev libbenchmark-dev
          xvfb xauth fonts-liberation qt6-translations-l10n clang libclang-rt-14-dev
          dpkg-dev file man-db strace weston qt6-wayland)
if (($# > 0)); then packages=("$@"); fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg -s "$package" 2>/dev/null || true)
  [[ $status == *"Status: install ok installed"* ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  # Waits for another apt run (an unattended upgrade, say) instead of failing at once.
  # Recommended packages stay out: the build and the tests need none of them, and on a
  # fresh machine they would bring a desktop's worth (systemd, GTK).
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
    --no-install-recommends "${missing[@]}"
fi
