#!/usr/bin/env bash
# Installs every Debian package that building, running and testing need.
# Idempotent: when everything is present it changes nothing and installs nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  googletest libgtest-dev
  wine wine32:i386 fonts-wine
  xvfb xdotool x11-utils imagemagick
  fonts-arphic-uming fonts-arphic-ukai fonts-wqy-microhei
  locales python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Chinese file names under Wine map through code page 936 only with this locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# The posix-thread flavour of the cross compiler is the one that has std::thread.
for tool in i686-w64-mingw32-g++ i686-w64-mingw32-gcc; do
  cur=$(readlink -f "$(command -v $tool)" || true)
  case "$cur" in
    *-posix) ;;
    *) if [ "$(id -u)" -eq 0 ]; then update-alternatives --set $tool /usr/bin/$tool-posix >/dev/null 2>&1 || true; fi ;;
  esac
done
exit 0
