# Shared by run.sh and test.sh: the Debian packages the project needs, and a
# quiet way to run a build step. Expects $logs (a folder) and $tool (a name for messages).

PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 xvfb
          libgtest-dev libgmock-dev libstb-dev libbenchmark-dev imagemagick clang-format
          x11-utils xdotool nsis clang libclang-rt-14-dev libtinyxml2-dev
          # Only "recommended" by wine, but needed for faithful rendering:
          fonts-wine fonts-liberation libxrender1 libxrandr2 libxi6 libxcursor1
          libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1)

install_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    if [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null) != ii* ]]; then
      missing+=("$p")
    fi
  done
  ((${#missing[@]} == 0)) && return 0
  echo "installing: ${missing[*]}"
  local sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  if ! { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
         "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
           apt-get install -y -qq "${missing[@]}"; } \
       >"$logs/apt.log" 2>&1; then
    cat "$logs/apt.log"
    echo "$tool: package installation failed" >&2
    exit 1
  fi
}

quiet() {
  local name=$1
  shift
  if ! "$@" >"$logs/$name.log" 2>&1; then
    cat "$logs/$name.log"
    echo "$tool: '$*' failed (log: build/logs/$name.log)" >&2
    exit 1
  fi
}


# The release programs and their installers (tools/package.sh; tools/test.sh
# needs the x64 installer for its installer test).
build_release_packages() {
  local preset
  for preset in windows-x64-release windows-x86-release; do
    quiet "configure-$preset" cmake --preset "$preset"
    quiet "build-$preset" cmake --build --preset "$preset"
  done
}
