#!/usr/bin/env bash
# Installs what building, running and testing need (Debian, as root). Safe to run again.
set -euo pipefail
pkgs=(cmake ninja-build g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 xvfb xauth
      x11-utils imagemagick fonts-wqy-microhei fonts-wine locales googletest clang
      libclang-rt-14-dev fp-utils libchm-bin)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# Wine runs in a Simplified Chinese locale, as the users' systems do.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
