#!/usr/bin/env bash
# The installed program: installs the build into a temporary root (DESTDIR,
# prefix /usr) and starts the installed launcher with HOME in a temporary
# folder on the offscreen platform, with the start-up probe (the program ends
# once the first question is painted, and at once with code 3 should a
# message box come first). Checks that
#   - the install puts the launcher, the program, its sound module, the
#     template, the desktop entry, the metainfo and the icons, and nothing
#     that belongs to a learner;
#   - the first start makes ~/.local/share/chixuebao (or $XDG_DATA_HOME/
#     chixuebao) from the template and opens the window without a message box;
#   - a later start never overwrites a learner's file and adds missing ones;
#   - a new version of a shipped bank keeps the learner's counters, with the
#     previous bank as 小车.tk.bak, and the state file untouched; a second
#     start changes nothing.
#
#   run_installed.sh BUILD_DIR APP_ID
set -euo pipefail
build="${1:?usage: run_installed.sh BUILD_DIR APP_ID}"
id="${2:?usage: run_installed.sh BUILD_DIR APP_ID}"

work="$(mktemp -d "${TMPDIR:-/tmp}/cxb-install.XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "INSTALL TEST FAILED: $*" >&2
  [ -s "$work/err.log" ] && sed 's/^/  program: /' "$work/err.log" >&2
  exit 1
}
say() { echo "[install] $*"; }

# 1. The install.
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; fail "cmake --install"; }
usr="$root/usr"
tpl="$usr/share/chixuebao/template"
for f in bin/chixuebao lib/chixuebao/chixuebao lib/chixuebao/libcxb_sound.so lib/chixuebao/libcxb_instance.so lib/chixuebao/libcxb_charts.so \
  share/chixuebao/template/bankdata/小车.tk share/chixuebao/template/bankdata/客车.tk \
  share/chixuebao/template/bankdata/货车.tk share/chixuebao/template/bankdata/sys.dat \
  share/chixuebao/template/bankdata/gantan.png share/chixuebao/template/皮肤.ini \
  "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
  "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/48x48/apps/$id.png" \
  "share/icons/hicolor/256x256/apps/$id.png"; do
  [ -f "$usr/$f" ] || fail "the install has no $f"
done
[ -x "$usr/bin/chixuebao" ] && [ -x "$usr/lib/chixuebao/chixuebao" ] || fail "the launcher or the program is not executable"
[ "$(find "$tpl/bankdata/pics" -name '*.png' | wc -l)" -gt 100 ] || fail "the template has too few question pictures"
outside="$(cd "$root" && find . -type f | grep -v -E '^\./usr/(bin/chixuebao|lib/chixuebao/|share/(chixuebao|applications|metainfo|icons/hicolor)/)' || true)"
[ -z "$outside" ] || fail "the install puts files elsewhere: $outside"
learners="$(find "$tpl" -name '*.bak' -o -name '*.htm' -o -name '*.tmp-*' -o -name '*.new')"
[ -z "$learners" ] || fail "the template holds files of a learner or of the build: $learners"
for bank in 小车 客车 货车; do
  cmp -s "$tpl/bankdata/$bank.tk" "$build/content/template/bankdata/$bank.tk" || fail "$bank.tk is not the bank built for shipping"
done
say "installed under $root/usr"

# 2. The first start, in a home of its own.
cat >"$work/screen.json" <<'JSON'
{ "screens": [ { "name": "test", "x": 0, "y": 0, "width": 1920, "height": 1080,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
JSON
export HOME="$work/home"
mkdir -p "$HOME"
unset XDG_DATA_HOME
export QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export CXB_EXIT_AFTER_FIRST_QUESTION=1
start() {
  local out rc=0
  out="$(timeout 120 "$usr/bin/chixuebao" 2>"$work/err.log")" || rc=$?
  [ "$rc" = 0 ] || fail "the installed program ended with code $rc ($1; 3: a message box, 124: no first question in 120 s)"
  [[ "$out" =~ ^[0-9]+$ ]] || fail "the installed program showed no first question ($1): $out"
}
start "first start"
data="$HOME/.local/share/chixuebao"
[ -d "$data" ] || fail "the first start made no $data"
# The lock of the trainer that just ran is its own, not the template's; so is its answer journal.
diff -r -x .chixuebao.lock -x 'journal.db*' "$tpl" "$data" >"$work/diff.log" 2>&1 || { cat "$work/diff.log" >&2; fail "the learner's folder is not the template"; }
grep -q "made $data from the template" "$work/err.log" || fail "the first start did not say it made the folder"
say "first start made $data and showed the first question"

# $XDG_DATA_HOME when it is an absolute path; a relative one is ignored.
XDG_DATA_HOME="$work/xdg" start "with XDG_DATA_HOME"
[ -f "$work/xdg/chixuebao/bankdata/sys.dat" ] || fail "no folder under XDG_DATA_HOME"
(cd "$work" && XDG_DATA_HOME="relative" start "with a relative XDG_DATA_HOME")
[ ! -e "$work/relative" ] || fail "a relative XDG_DATA_HOME was used"

# 3. A later start: the learner's own files stay, missing ones come back.
pictures=($(cd "$tpl/bankdata/pics" && ls | sed -n 1,2p))
cp "$data/bankdata/pics/${pictures[1]}" "$data/bankdata/pics/${pictures[0]}"
cp "$data/bankdata/select.png" "$data/bankdata/gantan.png"
rm "$data/bankdata/pics/${pictures[1]}"
start "later start"
cmp -s "$data/bankdata/select.png" "$data/bankdata/gantan.png" || fail "a later start overwrote the learner's gantan.png"
cmp -s "$tpl/bankdata/pics/${pictures[1]}" "$data/bankdata/pics/${pictures[0]}" || fail "a later start overwrote a learner's picture"
cmp -s "$tpl/bankdata/pics/${pictures[1]}" "$data/bankdata/pics/${pictures[1]}" || fail "a later start did not bring back a missing picture"
cp "$tpl/bankdata/gantan.png" "$data/bankdata/gantan.png"

# 4. An upgrade: the learner has practised; the new version rewords a question.
python3 - "$data/bankdata/小车.tk" <<'PY'
import struct, sys
path = sys.argv[1]
b = bytearray(open(path, 'rb').read())
n = struct.unpack_from('<i', b, 0)[0]
for i in range(1, n + 1):
    at = 232 + 2260 * i
    qid = struct.unpack_from('<i', b, at)[0]
    struct.pack_into('<iii', b, at + 2248, qid % 5, qid % 3, qid % 5 + qid % 3)
open(path, 'wb').write(b)
PY
cp "$data/bankdata/小车.tk" "$work/practised.tk"
cp "$data/bankdata/sys.dat" "$work/state.dat"
python3 - "$tpl/bankdata/小车.tk" <<'PY'
import sys
path = sys.argv[1]
b = bytearray(open(path, 'rb').read())
text = '改写后的第一题：驾驶机动车应当随身携带驾驶证。'.encode('gbk') + b'\0'
at = 232 + 2260 + 44
b[at:at + len(text)] = text
open(path, 'wb').write(b)
PY
start "after an upgrade"
grep -q "小车.tk upgraded" "$work/err.log" || fail "the start did not upgrade 小车.tk"
cmp -s "$work/practised.tk" "$data/bankdata/小车.tk.bak" || fail "小车.tk.bak is not the learner's previous bank"
cmp -s "$work/state.dat" "$data/bankdata/sys.dat" || fail "the upgrade touched the state file"
python3 - "$data/bankdata/小车.tk" "$tpl/bankdata/小车.tk" <<'PY' || fail "the upgraded bank lost counters or the new question"
import struct, sys
def records(path):
    b = open(path, 'rb').read()
    n = struct.unpack_from('<i', b, 0)[0]
    out = {}
    for i in range(1, n + 1):
        at = 232 + 2260 * i
        out[struct.unpack_from('<i', b, at)[0]] = (b[at + 44:at + 1044], struct.unpack_from('<iii', b, at + 2248))
    return out
mine, shipped = records(sys.argv[1]), records(sys.argv[2])
assert mine.keys() == shipped.keys()
for qid, (text, counters) in mine.items():
    assert text == shipped[qid][0], qid
    assert counters == (qid % 5, qid % 3, qid % 5 + qid % 3), (qid, counters)
PY
cp -a "$data" "$work/after-upgrade"
start "a second start after the upgrade"
diff -r -x .chixuebao.lock -x 'journal.db*' "$work/after-upgrade" "$data" >"$work/diff.log" 2>&1 || { cat "$work/diff.log" >&2; fail "a second start changed the folder"; }
say "an upgrade kept the counters, the backup and the state file; a second start changed nothing"
