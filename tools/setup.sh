#!/bin/sh
# Installs the Debian or Ubuntu packages that are missing for building,
# running and testing the editor. Sourced by tools/run and tools/test.
# Extra package names may be passed as arguments.
set -eu

# libyaml-cpp-dev: base16 and base24 schemes are YAML (src/schemes/).
ovex_packages="cmake ninja-build g++ qt6-base-dev qt6-image-formats-plugins libgl-dev libyaml-cpp-dev $*"

missing=""
for p in $ovex_packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
fi
