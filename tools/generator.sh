# Sourced by the build scripts: cmake_generator <build folder> prints the -G option to
# configure that folder with: Ninja where it is installed (it keeps both processors busy
# across targets, where make waits at each target's precompiled header), unless the folder
# was configured with another generator already, which CMake cannot change in place.
cmake_generator() {
  local cache=$1/CMakeCache.txt
  command -v ninja >/dev/null 2>&1 || return 0
  if [ ! -f "$cache" ] || grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$cache"; then
    echo "-GNinja"
  fi
}
