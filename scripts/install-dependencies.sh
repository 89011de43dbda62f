#!/bin/sh
# Installs the Debian packages the build, the tests and the example need.
# Packages already present are not fetched again; run as root.
set -eu

packages="cmake g++ make \
  libgmsh-dev libgmsh-private-headers-dev libmedc-dev \
  libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev libocct-data-exchange-dev \
  libtbb-dev libspdlog-dev libgtest-dev libbenchmark-dev"

missing=""
for package in $packages; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  # shellcheck disable=SC2086
  apt-get install -y --no-install-recommends $missing
fi
