#!/usr/bin/env python3
"""Reads the car bank and the answer journal for run_chapters.sh.

  chapters_check.py plan FOLDER TOPIC N
      the Down presses from the chapter window's first row to TOPIC, then
      the first N questions of TOPIC in sequential order, one a line:
      "id right-keys wrong-keys" (xdotool key names joined by commas)
  chapters_check.py practised SHIPPED_BANK FOLDER RIGHT WRONG STARRED
      after the topic practice: the questions RIGHT (ids joined by commas)
      answered right once, WRONG answered wrong once, nothing else counted,
      nothing else in the bank changed, and the journal's stars exactly
      STARRED
  chapters_check.py favourites SHIPPED_BANK FOLDER RIGHT WRONG STARRED
      after the second start: as practised, with each starred question
      answered right once more in the 我的收藏 list (the journal's last
      answers, in mode 8), the stars kept

Prints what is wrong and exits 1; exits 0 when everything holds.
"""
import os
import sqlite3
import struct
import sys

BANK_HEADER, RECORD = 232, 2260
R_ID, R_RESERVED, R_TYPE, R_ANSWER, R_PICTURE = 0, 4, 36, 1044, 1048
R_RIGHT, R_WRONG, R_COUNT = 2248, 2252, 2256
BANK_TAG = b"TKxiaoche"
FAVOURITES_MODE = 8

CHAPTERS = ["道路交通安全法律、法规和规章", "道路交通信号", "安全行车、文明驾驶基础知识", "机动车驾驶操作相关基础知识"]
TOPICS = ["驾驶证", "登记与检验", "记分", "罚则", "事故处理", "通行规定", "高速公路", "标志",
          "标线", "信号灯", "手势", "安全驾驶", "文明驾驶", "特殊路段", "恶劣天气", "应急处置",
          "急救", "仪表与灯光", "车辆装置", "驾驶操作", "客车专项", "货车专项", "危险品"]
PICTURE_TOPICS = {"sign_": "标志", "mark_": "标线", "light_": "信号灯", "police_": "手势"}

problems = []


def i32(data, at):
    return struct.unpack_from("<i", data, at)[0]


def records(path):
    data = open(path, "rb").read()
    return data, [data[BANK_HEADER + RECORD * k:BANK_HEADER + RECORD * (k + 1)] for k in range(1, i32(data, 0) + 1)]


def filing(record):
    """(chapter, topic) indexes a record is filed under, or None."""
    mark = record[R_RESERVED:R_RESERVED + 4]
    if mark[0] == 0x7F and mark[1] == ord("T") and 1 <= mark[2] <= len(CHAPTERS) and 1 <= mark[3] <= len(TOPICS):
        return mark[2] - 1, mark[3] - 1
    picture = record[R_PICTURE:R_PICTURE + 200].split(b"\0")[0].decode("gbk", "replace")
    name = picture.replace("/", "\\").rsplit("\\", 1)[-1]
    for prefix, topic in PICTURE_TOPICS.items():
        if name.startswith(prefix) and len(name) > len(prefix):
            return 1, TOPICS.index(topic)
    return None


def window_rows(recs):
    """The chapter window's row names in order: each chapter, then the
    topics most of whose questions it holds."""
    pairs = {}
    for r in recs:
        f = filing(r)
        if f:
            pairs[f] = pairs.get(f, 0) + 1
    home = {}
    for t in range(len(TOPICS)):
        best = 0
        for c in range(len(CHAPTERS)):
            if pairs.get((c, t), 0) > best:
                best, home[t] = pairs[(c, t)], c
    rows = []
    for c, chapter in enumerate(CHAPTERS):
        rows.append(chapter)
        rows += [TOPICS[t] for t in range(len(TOPICS)) if home.get(t) == c]
    return rows


def keys_for(qtype, answer, right):
    """The keys that give the right (or a wrong) answer to a question."""
    if qtype == 2:  # 6 对 is the A key, 5 错 the B key
        return ("a" if answer == 6 else "b") if right else ("b" if answer == 6 else "a")
    if qtype == 1:
        if right:
            return "abcd"[answer - 1]
        return "b" if answer == 1 else "a"
    boxes = [letter for bit, letter in zip(range(1, 9), "abcdefgh") if answer & (2 << (bit - 1))]
    if not right:  # a single box is never the whole answer of a multiple-choice question
        boxes = [boxes[0]] if len(boxes) > 1 else ["a" if boxes != ["a"] else "b"]
    return ",".join(boxes + ["Return"])


def plan(folder, topic, n):
    _, recs = records(os.path.join(folder, "bankdata", "小车.tk"))
    rows = window_rows(recs)
    if topic not in rows:
        print(f"{topic} is not a row of the chapter window: {rows}", file=sys.stderr)
        return 1
    print(rows.index(topic))
    t = TOPICS.index(topic)
    filed = [(i32(r, R_ID), k, r) for k, r in enumerate(recs) if (filing(r) or (None, None))[1] == t]
    filed.sort(key=lambda x: (x[0], x[1]))
    for qid, _, r in filed[:n]:
        qtype, answer = i32(r, R_TYPE), i32(r, R_ANSWER)
        print(qid, keys_for(qtype, answer, True), keys_for(qtype, answer, False))
    return 0


def ids(text):
    return [int(x) for x in text.split(",") if x]


def journal(folder):
    path = os.path.join(folder, "bankdata", "journal.db")
    if not os.path.exists(path):
        problems.append("bankdata/journal.db does not exist")
        return None
    return sqlite3.connect(path, timeout=5)


def check(shipped, folder, right, wrong, starred, favourites_answered):
    data, recs = records(os.path.join(folder, "bankdata", "小车.tk"))
    old_data, old = records(shipped)
    if len(data) != len(old_data) or data[:BANK_HEADER] != old_data[:BANK_HEADER]:
        problems.append("the bank's size or header changed")
        return
    want = {}  # id -> (right, wrong) added
    for q in right:
        want[q] = (1, 0)
    for q in wrong:
        want[q] = (0, 1)
    if favourites_answered:
        for q in starred:
            r, w = want.get(q, (0, 0))
            want[q] = (r + 1, w)
    # The program may write the records back in another order (some lists
    # sort the bank); each is matched to its shipped record by id.
    shipped_by_id = {i32(r, R_ID): r for r in old}
    if len(shipped_by_id) != len(old) or sorted(shipped_by_id) != sorted(i32(r, R_ID) for r in recs):
        problems.append("the bank's question ids changed (or the shipped bank repeats one)")
        return
    for new in recs:
        qid = i32(new, R_ID)
        was = shipped_by_id[qid]
        if new[:R_RIGHT] != was[:R_RIGHT]:
            problems.append(f"question {qid} changed outside its counters")
        added = (i32(new, R_RIGHT) - i32(was, R_RIGHT), i32(new, R_WRONG) - i32(was, R_WRONG))
        counted = i32(new, R_COUNT) - i32(was, R_COUNT)
        expected = want.get(qid, (0, 0))
        if added != expected or counted != sum(expected):
            problems.append(f"question {qid}: the counters grew by right {added[0]}, wrong {added[1]}, "
                            f"answered {counted}; expected right {expected[0]}, wrong {expected[1]}")
    db = journal(folder)
    if db is None:
        return
    try:
        bank = db.execute("SELECT id FROM banks WHERE tag = ?", (BANK_TAG,)).fetchone()
        if bank is None:
            problems.append("the journal knows no car bank")
            return
        stars = sorted(q for (q,) in db.execute("SELECT question FROM favourites WHERE bank = ?", bank))
        if stars != sorted(starred):
            problems.append(f"the journal's stars are {stars}, expected {sorted(starred)}")
        if favourites_answered:
            last = db.execute("SELECT question, correct, mode FROM answers WHERE bank = ? ORDER BY seq DESC LIMIT ?",
                              (bank[0], len(starred))).fetchall()
            got = sorted(q for q, _, _ in last)
            if got != sorted(starred) or any(c != 1 or m != FAVOURITES_MODE for _, c, m in last):
                problems.append(f"the last answers are {last}, expected each starred question {sorted(starred)} "
                                f"answered right in mode {FAVOURITES_MODE} (我的收藏)")
    finally:
        db.close()


def main(argv):
    if len(argv) == 5 and argv[1] == "plan":
        return plan(argv[2], argv[3], int(argv[4]))
    if len(argv) == 7 and argv[1] in ("practised", "favourites"):
        check(argv[2], argv[3], ids(argv[4]), ids(argv[5]), ids(argv[6]), argv[1] == "favourites")
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for p in problems:
        print(f"  - {p}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
