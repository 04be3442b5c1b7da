#!/usr/bin/env bash
# Installs the Debian packages the planner needs, only those missing.
# Idempotent: on a machine that has everything it changes nothing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  nlohmann-json3-dev libcli11-dev libpython3.11-dev python3.11 python3
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev  # the HTTP server and client of dalvenor serve
  clang libclang-rt-14-dev
  chromium  # the browser test of the HTML report
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
