#!/bin/sh
# Installs the build into a temporary prefix and checks what a desktop and a user get: the
# installed files, the console program, and the window program started from a bin/ that
# its user cannot write, keeping its settings under $XDG_CONFIG_HOME.
# usage: check_install.sh BUILD_DIR SOURCE_DIR ui|cli
set -eu
build=$1
source=$2
programs=$3
id=jp.harrowfen.kestrilane

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/root/usr
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  fail "cmake --install"
}

expect() {
  for file; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
  done
}
man_page() {
  for page in "$prefix/share/man/man1/$1.1.gz" "$prefix/share/man/man1/$1.1"; do
    [ -f "$page" ] && return 0
  done
  fail "not installed: the man page $1(1)"
}

expect bin/kestrilane-cli
man_page kestrilane-cli
"$prefix/bin/kestrilane-cli" compare --help | grep -q '^usage: kestrilane-cli compare' || fail "kestrilane-cli compare --help"

[ "$programs" = ui ] || exit 0

expect bin/kestrilane share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg
man_page kestrilane
for size in 16 32 48 128; do
  icon=share/icons/hicolor/${size}x${size}/apps/$id.png
  expect "$icon"
  # A PNG's width is the big-endian word at byte 16.
  width=$(od -An -tu1 -j16 -N4 "$prefix/$icon" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
  [ "$width" = "$size" ] || fail "$icon is $width pixels wide"
done
for page in "$source"/docs/manual/*; do
  expect "share/kestrilane/manual/$(basename "$page")"
done
# The metainfo against the installed tree: its desktop entry and icon.
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate-tree --no-net "$work/root" >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log" >&2
    fail "appstreamcli validate-tree"
  }
else
  echo "skipped: appstreamcli validate-tree (appstream is not installed)"
fi

# The window program, started where it may not write beside itself. As root every
# directory counts as writable, so the check runs as nobody.
home=$work/home
mkdir -p "$home"
if [ "$(id -u)" -eq 0 ]; then
  if ! command -v setpriv >/dev/null 2>&1 || ! id nobody >/dev/null 2>&1; then
    echo "skipped: the read-only start needs setpriv and the user nobody when run as root"
    exit 0
  fi
  chmod 755 "$work"
  chown nobody "$home"
  as_user="setpriv --reuid=$(id -u nobody) --regid=$(id -g nobody) --clear-groups"
else
  chmod a-w "$prefix/bin"
  as_user=
fi
# The program runs until its window is closed: five seconds without an exit mean it started.
status=0
env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen \
  $as_user timeout 5 "$prefix/bin/kestrilane" >"$work/run.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || {
  cat "$work/run.log" >&2
  fail "kestrilane ended with status $status instead of running"
}
[ -d "$home/config/kestrilane" ] || fail "no settings folder $home/config/kestrilane"
[ ! -e "$prefix/bin/kestrilane.ini" ] || fail "settings written beside the installed program"
echo "installed tree, kestrilane-cli and kestrilane checked"
