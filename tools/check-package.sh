#!/usr/bin/env bash
# Builds the Debian package from the build in $1 (build/ by default) and checks it with
# lintian: any error or warning fails. Tags that stay on purpose are listed, with their
# reason, in packaging/debian/lintian-overrides.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
cmake --build "$build" -j "$(nproc)" --target kestrilane kestrilane-cli >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
package=$build/kestrilane_${version}_$(dpkg --print-architecture).deb
changelog_version=$(sed -n '1s/^kestrilane (\([^)]*\)).*/\1/p' "$top/packaging/debian/changelog")
if [ "$changelog_version" != "$version" ]; then
  echo "packaging/debian/changelog names version $changelog_version, the project is $version" >&2
  exit 1
fi
# lintian warns when it runs as root, which changes nothing it checks.
report=$(lintian --fail-on none --pedantic "$package" 2>&1 | grep -v '^running with root privileges' || true)
echo "lintian on $(basename "$package"):"
echo "${report:-  (nothing to report)}"
if grep -qE '^[EW]: ' <<<"$report"; then
  echo "lintian reports errors or warnings" >&2
  exit 1
fi
