#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# mingw-w64 and Wine serve tools/windows-check.sh (the Windows build, run under Wine; the
# 64-bit wine64 alone runs it, no 32-bit architecture is needed). Headless chromium renders
# the HTML reports for the browser tests.
set -euo pipefail

packages=(cmake g++ make ninja-build pkgconf qt6-base-dev libgl-dev qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic fontconfig
          libfontconfig-dev libgtest-dev libbenchmark-dev xvfb xauth hyperfine clang libclang-rt-14-dev
          desktop-file-utils appstream git patch lintian chromium
          g++-mingw-w64-x86-64-posix wine64)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1; then
  sudo_cmd=(sudo)
else
  echo "Missing packages (${missing[*]}) and no root rights to install them." >&2
  exit 1
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
