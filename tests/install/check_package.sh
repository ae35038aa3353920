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
for f in usr/bin/chixuebao usr/lib/chixuebao/chixuebao usr/lib/chixuebao/libcxb_sound.so usr/lib/chixuebao/libcxb_instance.so \
  usr/lib/chixuebao/libcxb_charts.so \
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
grep -E " \./usr/(bin|lib/chixuebao)/chixuebao\$" "$work/list" | grep -qv '^-rwxr-xr-x' &&
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
