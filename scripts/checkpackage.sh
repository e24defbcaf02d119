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

# Suppressed, because they are what this program is: it is proprietary and ships its licence text in the
# program rather than a free licence ("copyright-*" checks look for a free licence's name), and its
# maker's addresses lie under the reserved .example domain, which no real mail reaches.
lintian --fail-on error --no-tag-display-limit \
  --suppress-tags bogus-mail-host,no-manual-page \
  "$deb"
echo "checkpackage: $(basename "$deb") passed"
