#!/usr/bin/env bash
# Everything a fresh Debian 12 needs to build, test and run the tool: the native and MinGW
# compilers, GoogleTest, Wine (64-bit only: the 32-bit loader is never used here), a headless
# X server with input and screenshot tools, the fonts the Chinese dialog needs, and the locales
# that make Wine report a Chinese or an English system. Safe to run again: it does nothing
# when all of it is already there.
set -euo pipefail

PACKAGES=(
    cmake make g++ python3
    googletest libgtest-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine64 wine
    fonts-wine fonts-wqy-microhei fonts-dejavu-core
    libxrender1 libxcursor1 libxi6 libxrandr2 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
    xvfb xauth xdotool x11-utils imagemagick
    locales procps
)
LOCALES=(zh_CN.UTF-8 zh_TW.UTF-8 en_US.UTF-8)

if [[ $(id -u) -eq 0 ]]; then
    SUDO=()
elif command -v sudo >/dev/null; then
    SUDO=(sudo)
else
    echo "install-deps: run as root (or install sudo)" >&2
    exit 1
fi

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} > 0)); then
    echo "install-deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${SUDO[@]}" apt-get update -q
    "${SUDO[@]}" apt-get install -y -q --no-install-recommends "${PACKAGES[@]}"
fi

# locale -a spells them zh_CN.utf8 and so on.
have_locale() {
    local wanted=${1/UTF-8/utf8}
    locale -a 2>/dev/null | grep -qx "$wanted"
}
regenerate=0
for name in "${LOCALES[@]}"; do
    if ! have_locale "$name"; then
        regenerate=1
        if ! grep -qE "^${name//./\\.} UTF-8" /etc/locale.gen; then
            if grep -qE "^# *${name//./\\.} UTF-8" /etc/locale.gen; then
                "${SUDO[@]}" sed -i -E "s/^# *(${name//./\\.} UTF-8)/\\1/" /etc/locale.gen
            else
                echo "$name UTF-8" | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
            fi
        fi
    fi
done
if ((regenerate)); then
    "${SUDO[@]}" locale-gen
fi
