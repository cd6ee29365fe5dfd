#!/bin/sh
# Installs the Debian packages Parlova builds, runs and tests with.
set -e
SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build pkg-config ca-certificates \
  qt6-base-dev libqt6network6 libcurl4-openssl-dev libgmime-3.0-dev libgtest-dev libgmock-dev \
  python3 python3-aiosmtpd dovecot-core dovecot-pop3d openssl util-linux
