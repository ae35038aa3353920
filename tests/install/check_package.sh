#!/usr/bin/env bash
# The Debian package: cpack -G DEB in a temporary folder, then its listing
# (dpkg-deb -c) must hold the launcher, the program, its sound module, the
# banks, the desktop entry, the metainfo and the icons, and exactly the files
# cmake --install puts; its Depends must name the Qt libraries found by
# dpkg-shlibdeps and a font for the Chinese text.
#
#   check_package.sh BUILD_DIR APP_ID
set -euo pipefail
build="${1:?usage: check_package.sh BUILD_DIR APP_ID}"
id="${2:?usage: check_package.sh BUILD_DIR APP_ID}"

work="$(mktemp -d "${TMPDIR:-/tmp}/cxb-deb.XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "PACKAGE TEST FAILED: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
debs=("$work"/out/chixuebao_*.deb)
[ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no chixuebao_*.deb"
deb="${debs[0]}"
echo "[package] $(basename "$deb"), $(du -k "$deb" | cut -f1) kB"

dpkg-deb -c "$deb" >"$work/list"
for f in usr/bin/chixuebao usr/libexec/chixuebao/chixuebao usr/libexec/chixuebao/libcxb_sound.so usr/libexec/chixuebao/libcxb_instance.so \
  usr/libexec/chixuebao/libcxb_charts.so \
  usr/share/chixuebao/template/bankdata/小车.tk usr/share/chixuebao/template/bankdata/客车.tk \
  usr/share/chixuebao/template/bankdata/货车.tk usr/share/chixuebao/template/bankdata/sys.dat \
  usr/share/chixuebao/template/皮肤.ini \
  "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
  "usr/share/icons/hicolor/scalable/apps/$id.svg"; do
  grep -q " \./$f\$" "$work/list" || fail "the package has no /$f"
done
for size in 16 22 24 32 48 64 128 256; do
  grep -q " \./usr/share/icons/hicolor/${size}x${size}/apps/$id.png\$" "$work/list" || fail "the package has no ${size}x${size} icon"
done
grep -E " \./usr/(bin|libexec/chixuebao)/chixuebao\$" "$work/list" | grep -qv '^-rwxr-xr-x' &&
  fail "the launcher or the program is not executable in the package"

# Exactly what cmake --install puts.
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/root" && find . ! -type d | sort) >"$work/installed"
grep -v '^d' "$work/list" | sed -E 's/^.* (\.\/.*)$/\1/' | sort >"$work/packaged"
diff "$work/installed" "$work/packaged" >"$work/diff" || { cat "$work/diff" >&2; fail "the package and the install hold different files"; }

depends="$(dpkg-deb -f "$deb" Depends)"
echo "[package] Depends: $depends"
for dep in libc6 libqt6core6 libqt6widgets6 libqt6multimedia6 fonts-wqy-microhei; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep"
done
[ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "the package is not in section education"
echo "[package] $(wc -l <"$work/packaged") files, as cmake --install puts them"

# What a distribution checks: lintian prints no error and no warning.
if command -v lintian >/dev/null; then
  lintian --pedantic "$deb" >"$work/lintian" 2>&1 || true
  grep -E '^[EW]: ' "$work/lintian" >&2 && fail "lintian reports errors or warnings"
  echo "[package] lintian --pedantic: $(grep -c '^[A-Z]: ' "$work/lintian" || true) remarks, none an error or warning"
else
  fail "lintian is not installed (scripts/setup.sh --tests)"
fi
dpkg-deb -x "$deb" "$work/unpacked"
doc="$work/unpacked/usr/share/doc/chixuebao"
[ -f "$doc/copyright" ] && [ -f "$doc/changelog.gz" ] && [ -f "$doc/README.md" ] || fail "no copyright, changelog.gz or README.md in /usr/share/doc/chixuebao"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright" || fail "the copyright file is not machine-readable"
for licence in GPL-3.0-or-later CC-BY-SA-4.0; do
  grep -q "^License: $licence\$" "$doc/copyright" || fail "the copyright file has no $licence paragraph"
done
grep -q 'Attribution-ShareAlike 4.0 International' "$doc/copyright" || fail "the copyright file lacks the CC BY-SA 4.0 text"
grep -q '遇到问题' "$doc/README.md" || fail "the installed README has no 遇到问题 section"

# The version is the changelog's newest entry, and every entry is newer than
# the one below it, so that each release upgrades the one before.
src="$(cd "$(dirname "$0")/../.." && pwd)"
versions=($(dpkg-parsechangelog -l "$src/dist/changelog" --format rfc822 --all | sed -n "s/^Version: //p"))
[ "${#versions[@]}" -ge 2 ] || fail "the changelog has fewer than two releases"
version="$(dpkg-deb -f "$deb" Version)"
[ "$version" = "${versions[0]}" ] || fail "the package is $version, the changelog's newest release ${versions[0]}"
[ "$(zcat "$doc/changelog.gz" | head -1)" = "$(head -1 "$src/dist/changelog")" ] || fail "changelog.gz is not dist/changelog"
for ((i = 1; i < ${#versions[@]}; i++)); do
  dpkg --compare-versions "${versions[i-1]}" gt "${versions[i]}" || fail "release ${versions[i-1]} is not newer than ${versions[i]}"
done

# A release of the banks alone: the previous release's package with other
# bank bytes, installed first into a root of its own; the new package then
# goes over it as an upgrade and brings its own bank.
previous="${versions[1]}"
cp -a "$work/unpacked" "$work/old"
dpkg-deb -e "$deb" "$work/old/DEBIAN"
sed -i "s/^Version: .*/Version: $previous/" "$work/old/DEBIAN/control"
printf 'an older bank' >"$work/old/usr/share/chixuebao/template/bankdata/小车.tk"
(cd "$work/old" && find usr -type f -exec md5sum {} + >DEBIAN/md5sums)
dpkg-deb --root-owner-group -b "$work/old" "$work/old.deb" >/dev/null
dpkgroot="$work/dpkgroot"
mkdir -p "$dpkgroot/var/lib/dpkg/updates" "$dpkgroot/var/lib/dpkg/info"
touch "$dpkgroot/var/lib/dpkg/status"
dpkg_() { dpkg --root="$dpkgroot" --force-not-root --force-depends --force-script-chrootless --log=/dev/null "$@"; }
dpkg_ -i "$work/old.deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "the previous release does not install"; }
dpkg_ -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "the new release does not install over the previous"; }
grep -q "over ($previous)" "$work/dpkg.log" || { cat "$work/dpkg.log" >&2; fail "the new release did not upgrade $previous"; }
[ "$(dpkg-query --admindir="$dpkgroot/var/lib/dpkg" -W -f='${Version}' chixuebao)" = "$version" ] || fail "after the upgrade the installed release is not $version"
cmp -s "$dpkgroot/usr/share/chixuebao/template/bankdata/小车.tk" "$work/unpacked/usr/share/chixuebao/template/bankdata/小车.tk" ||
  fail "the upgrade did not bring the new bank"
echo "[package] $version upgrades $previous; lintian clean; copyright, changelog and README installed"
