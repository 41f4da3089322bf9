#!/usr/bin/env bash
# Installs everything the build, the tests and the example need, from Debian's packages.
# Run as root (or through sudo) on a fresh Debian 12 machine.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  build-essential g++ clang libclang-rt-dev cmake ninja-build \
  libxerces-c-dev libboost-dev libssl-dev \
  libgtest-dev libgmock-dev libbenchmark-dev locales
# A locale with a comma decimal point, for the tests of number texts under a
# caller's locale (made once).
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
