#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake g++ make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libpq-dev postgresql-15 postgresql-15-orafce postgresql-contrib
  nlohmann-json3-dev
  libcairo2-dev libzint-dev fonts-dejavu-core
  zbar-tools poppler-utils
  clang-format clang-tidy ccache
  clang libclang-rt-14-dev
)

missing=()
for pkg in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$pkg")
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
