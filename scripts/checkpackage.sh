#!/usr/bin/env bash
# Checks the package scripts/package.sh wrote: the menu entry and the AppStream data validate, the .deb
# holds every file in its place, the program unpacked into a scratch root answers --version and --cerca
# from there (nothing but system libraries beside it), the manual page renders without warnings, and
# lintian finds no error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
fail() { echo "checkpackage: $*" >&2; exit 1; }
debs=(build/package/norvelia_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in build/package, run scripts/package.sh"
deb=${debs[0]}
id=example.velmoria.Norvelia

desktop-file-validate "packaging/$id.desktop"
appstreamcli validate --no-net "packaging/$id.metainfo.xml"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for f in usr/bin/norvelia usr/share/norvelia/Internet.mid usr/share/norvelia/SuggerimentiNorvelia.TXT \
         usr/share/norvelia/listino.txt "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
         "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/48x48/apps/$id.png" \
         "usr/share/icons/hicolor/128x128/apps/$id.png" "usr/share/icons/hicolor/256x256/apps/$id.png" \
         usr/share/man/man1/norvelia.1.gz usr/share/doc/norvelia/copyright usr/share/doc/norvelia/changelog.gz; do
  [ -s "$root/$f" ] || fail "missing from the package: /$f"
done
desktop-file-validate "$root/usr/share/applications/$id.desktop"
dpkg-deb -f "$deb" Depends | grep -q "libfluidsynth3" || fail "the package does not depend on libfluidsynth3"
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the shared libraries' dependencies are missing"

bin="$root/usr/bin/norvelia"
version=$(env -u LD_LIBRARY_PATH "$bin" --version)
[ "$version" = "Norvelia $(dpkg-deb -f "$deb" Version)" ] || fail "--version says '$version'"
hits=$(cd / && env -u LD_LIBRARY_PATH "$bin" --cerca "revoca amministratore" --limite 3)
[ "$(printf '%s\n' "$hits" | grep -c $'^condominio\t')" -eq 3 ] || fail "--cerca found: $hits"
rc=0
env -u LD_LIBRARY_PATH "$bin" --nessuna 2>/dev/null || rc=$?
[ $rc -eq 2 ] || fail "a bad option ended with $rc, not 2"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/norvelia.1.gz" 2>&1 >/dev/null || true)
[ -z "$warnings" ] || fail "the manual page: $warnings"

# Errors fail; warnings and information are shown (at the time of writing there are neither errors nor
# warnings, only information: Italian words in the program taken for English misspellings, the side
# files taken for documentation).
lintian_out=$(lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1) || fail "lintian: $lintian_out"
printf '%s\n' "$lintian_out" | grep -v "running with root privileges" || true
echo "checkpackage: $(basename "$deb") passed"
