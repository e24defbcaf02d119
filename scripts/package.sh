#!/usr/bin/env bash
# Builds the release program and its Debian package, build/package/norvelia_<version>_amd64.deb, with
# CPack over the install rules (packaging/Packaging.cmake). The release build installs under /usr, where
# the package puts it; it still runs from its build folder as before.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build --preset release -j 2 --target norvelia package_files
rm -rf build/release/cpack build/package
(cd build/release && cpack -G DEB >/dev/null)
mkdir -p build/package
mv build/release/cpack/*.deb build/package/
ls build/package/*.deb
