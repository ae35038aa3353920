#!/usr/bin/env bash
# Start-up time and peak memory of the trainer against an empty Qt window of
# the same size, in the same run, on the offscreen platform with a 1920x1080
# screen:
#   chixuebao       CXB_EXIT_AFTER_FIRST_QUESTION=1: from exec until the
#                   window with the first question is painted, then it ends
#   empty window    bench/cxb_emptywindow: from exec to its first paint
#   empty + latin   the same with one line of ASCII text (the font set-up
#                   any window with words pays)
#   empty + text    the same with one line of Chinese text (plus the fallback
#                   to a Chinese font)
# Wall time: hyperfine, median of RUNS runs after 3 warm-ups, and the
# programs' own "ms since process start" (median). Peak memory: max RSS from
# /usr/bin/time, median of 5 runs.
#
#   bench/startup.sh [build folder]        default: build-perf
#   RUNS=20                                runs per program
#   GENERATED=1999                         use a generated bank of that many
#                                          questions instead of the car bank
#
# Build first:
#   cmake -S . -B build-perf -DCMAKE_BUILD_TYPE=Release
#   cmake --build build-perf -j2 --target chixuebao cxb_emptywindow content_banks
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build-perf}" && pwd)"
runs="${RUNS:-20}"
generated="${GENERATED:-}"
app="$build/app/chixuebao"
empty="$build/bench/cxb_emptywindow"
tkbank="$build/tools/tkbank/tkbank"
for f in "$app" "$empty"; do
  [ -x "$f" ] || { echo "missing $f (build chixuebao and cxb_emptywindow in $build)" >&2; exit 1; }
done
for tool in hyperfine /usr/bin/time iconv truncate; do
  command -v "$tool" >/dev/null || { echo "missing $tool: bash scripts/setup.sh --tests" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
folder="$work/app"
mkdir -p "$folder"
cp -r "$build/app/." "$folder/"

# The bank: the shipped car bank, or a generated one.
if [ -z "$generated" ] && [ ! -f "$folder/bankdata/小车.tk" ]; then
  echo "no shipped car bank in $build/app (content_banks not built): using a generated bank of 725 questions"
  generated=725
fi
if [ -n "$generated" ]; then
  [ -x "$tkbank" ] || { echo "missing $tkbank" >&2; exit 1; }
  {
    printf '{"bankAuthor":"测速题库","bankLink":"","bankPicture":"","questions":[\n'
    for ((i = 1; i <= generated; i++)); do
      [ "$i" -gt 1 ] && printf ',\n'
      case $((i % 3)) in
        0) printf '{"id":%d,"type":"judge","text":["第%d题：驾驶机动车在道路上行驶，应当随身携带驾驶证。"],"answer":"对","explanation":"驾驶人应当随身携带驾驶证。"}' "$i" "$i" ;;
        1) printf '{"id":%d,"type":"single","text":["第%d题：在这种情况下应当怎样做？","A、减速慢行","B、加速通过","C、鸣喇叭催促","D、紧跟前车"],"answer":"A","explanation":"遇到这种情况应减速慢行，注意观察。"}' "$i" "$i" ;;
        2) printf '{"id":%d,"type":"multi","text":["第%d题：雨天行车应当注意哪些事项？","A、降低车速","B、加大跟车距离","C、急转方向","D、开启雾灯或近光灯"],"answer":"ABD"}' "$i" "$i" ;;
      esac
    done
    printf ']}\n'
  } >"$work/bank.json"
  "$tkbank" build "$work/bank.json" -o "$folder/bankdata/generated.tk" >/dev/null
  bankName='bankdata\generated.tk'
  bankLabel="a generated bank of $generated questions"
else
  bankName='bankdata\小车.tk'
  bankLabel="the shipped car bank ($(( ($(stat -c %s "$folder/bankdata/小车.tk") - 232) / 2260 - 1 )) questions)"
fi

# The state file: the defaults, the bank path (GBK) and exam count 100.
# Without one the first start opens the settings dialog and waits.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
state="$folder/bankdata/sys.dat"
: >"$state"
truncate -s 2472784 "$state"
for v in 1 0 136255 10 10 2 0 105 102 97 98 99 100 1000 2700; do printf "$(le32 "$v")"; done |
  dd of="$state" conv=notrunc status=none
printf '%s' "$bankName" | iconv -f UTF-8 -t GBK | dd of="$state" bs=1 seek=2472072 conv=notrunc status=none
printf "$(le32 100)" | dd of="$state" bs=1 seek=2472376 conv=notrunc status=none

cat >"$work/screen.json" <<'EOF'
{ "screens": [ { "name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
EOF
export QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json"
export CXB_EXIT_AFTER_FIRST_QUESTION=1
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work}"

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The program must reach its first question and end by itself.
first="$("$folder/chixuebao" 2>/dev/null)" || { echo "chixuebao did not start cleanly" >&2; exit 1; }
[ -n "$first" ] || { echo "chixuebao printed no start-up time" >&2; exit 1; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "bank: $bankLabel; $runs runs each"
hyperfine -N -w 3 -r "$runs" --export-csv "$work/times.csv" \
  -n chixuebao "$folder/chixuebao" \
  -n empty "$empty" \
  -n empty+latin "$empty --latin" \
  -n empty+text "$empty --text" >/dev/null 2>"$work/hyperfine.err" || { cat "$work/hyperfine.err" >&2; exit 1; }

col() { awk -F, -v name="$1" -v c="$2" '$1 == name { printf "%.1f", $c * 1000 }' "$work/times.csv"; }
self() { for ((i = 0; i < runs; i++)); do "$@" 2>/dev/null; done | median; }
rss() { for ((i = 0; i < 5; i++)); do /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1; done | median; }

appMs="$(col chixuebao 4)"; emptyMs="$(col empty 4)"; latinMs="$(col empty+latin 4)"; textMs="$(col empty+text 4)"
appSelf="$(self "$folder/chixuebao")"; emptySelf="$(self "$empty")"; latinSelf="$(self "$empty" --latin)"; textSelf="$(self "$empty" --text)"
appKb="$(rss "$folder/chixuebao")"; emptyKb="$(rss "$empty")"; latinKb="$(rss "$empty" --latin)"; textKb="$(rss "$empty" --text)"

mb() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }
printf '\n%-14s %16s %18s %14s\n' "" "wall median ms" "own ms (median)" "max RSS MB"
printf '%-14s %16s %18s %14s\n' chixuebao "$appMs" "$appSelf" "$(mb "$appKb")"
printf '%-14s %16s %18s %14s\n' "empty window" "$emptyMs" "$emptySelf" "$(mb "$emptyKb")"
printf '%-14s %16s %18s %14s\n' "empty + latin" "$latinMs" "$latinSelf" "$(mb "$latinKb")"
printf '%-14s %16s %18s %14s\n' "empty + text" "$textMs" "$textSelf" "$(mb "$textKb")"
awk -v a="$appMs" -v e="$emptyMs" -v l="$latinMs" -v t="$textMs" -v ak="$appKb" -v ek="$emptyKb" -v tk="$textKb" 'BEGIN {
  printf "\nstart-up ratio chixuebao / empty window: %.2f (target <= 1.5)\n", a / e
  printf "start-up ratio chixuebao / empty + text:  %.2f\n", a / t
  printf "yardsticks: empty + latin / empty window: %.2f; empty + text / empty window: %.2f\n", l / e, t / e
  printf "peak memory above the empty window: %.1f MB (target <= 25); above empty + text: %.1f MB\n", (ak - ek) / 1024, (ak - tk) / 1024
}'
