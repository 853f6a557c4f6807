#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing when it is all there.
# Used by `make run`, `make test` and CI; safe to run any number of times.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  cmake ninja-build make
  wine64 xvfb xauth x11-utils fonts-noto-cjk fonts-wine
  locales imagemagick googletest xdotool zip unzip
  libboost-regex1.81-dev unicode-data libz-mingw-w64-dev
)

sudo_if_needed() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_if_needed apt-get update -qq
  sudo_if_needed apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run with LANG=ja_JP.UTF-8; a locale that is not generated reports code page 932
# but cannot create files with Japanese names, so make sure it really exists.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup-deps: generating ja_JP.UTF-8"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | sudo_if_needed tee -a /etc/locale.gen >/dev/null
  fi
  sudo_if_needed locale-gen >/dev/null
fi
