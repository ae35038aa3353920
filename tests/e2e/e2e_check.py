#!/usr/bin/env python3
"""Checks the files the program left in its folder during the end-to-end run.

Usage:
  e2e_check.py first-start FOLDER          state file as created at the first start
  e2e_check.py settings FOLDER             after OK in the settings dialog
  e2e_check.py handed-in FOLDER            after the hand-in of the mock exam
  e2e_check.py pages FOLDER                after the export
  e2e_check.py final FOLDER SHIPPED_BANK T0 T1 BEGINNER EXAM
                                           after the program has closed; T0 and T1
                                           bound the run (seconds since the epoch),
                                           BEGINNER and EXAM are the numbers of
                                           questions answered in each list

Prints what is wrong and exits 1; exits 0 when everything holds.
"""
import os
import re
import struct
import sys
import time

STATE_SIZE = 2472784
SLOT_SIZE = 2472
HISTORY_AT = 64
BANK_PATH_AT = 2472072
EXAM_COUNT_AT = 2472376
BANK_HEADER = 232
RECORD = 2260
# Offsets inside a question record.
R_ID, R_TYPE, R_TEXT, R_ANSWER, R_PICTURE = 0, 36, 44, 1044, 1048
R_RIGHT, R_WRONG, R_COUNT = 2248, 2252, 2256
COUNTERS = range(R_RIGHT, RECORD)

DEFAULT_HEAD = [1, 0, 136255, 10, 10, 2, 0, 105, 102, 97, 98, 99, 100, 1000, 2700]
CAR_BANK = "bankdata\\小车.tk".encode("gbk")

problems = []


def problem(text):
    problems.append(text)


def i32(data, at):
    return struct.unpack_from("<i", data, at)[0]


def field(data, at, width):
    raw = data[at:at + width]
    end = raw.find(b"\0")
    return raw if end < 0 else raw[:end]


def read(path):
    with open(path, "rb") as f:
        return f.read()


def load_state(folder):
    path = os.path.join(folder, "bankdata", "sys.dat")
    if not os.path.exists(path):
        problem("bankdata/sys.dat does not exist")
        return None
    data = read(path)
    if len(data) != STATE_SIZE:
        problem(f"bankdata/sys.dat is {len(data)} bytes, not {STATE_SIZE}")
        return None
    return data


def head(data):
    return list(struct.unpack_from("<15i", data, 0))


def expect_head(data, history_count):
    want = list(DEFAULT_HEAD)
    want[6] = history_count
    got = head(data)
    if got != want:
        problem(f"first 60 bytes of sys.dat read {got}, expected {want}")


def check_first_start(folder):
    data = load_state(folder)
    if data is None:
        return
    expect_head(data, 0)
    if field(data, BANK_PATH_AT, 300) != b"":
        problem(f"bankPath of a new state file is {field(data, BANK_PATH_AT, 300)!r}, expected empty")
    if i32(data, EXAM_COUNT_AT) != 0:
        problem(f"examCount of a new state file is {i32(data, EXAM_COUNT_AT)}, expected 0")


def check_settings(folder, history_count=0):
    data = load_state(folder)
    if data is None:
        return None
    expect_head(data, history_count)
    path = field(data, BANK_PATH_AT, 300)
    if path != CAR_BANK:
        problem(f"bankPath is {path!r}, expected {CAR_BANK!r} (bankdata\\小车.tk in GBK)")
    if i32(data, EXAM_COUNT_AT) != 5:
        problem(f"examCount is {i32(data, EXAM_COUNT_AT)}, expected 5")
    return data


def check_handed_in(folder):
    check_settings(folder, history_count=1)


def load_pages(folder):
    pages = {}
    for name in ("h.htm", "n.htm"):
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            problem(f"{name} was not written into the program's folder")
            continue
        raw = read(path)
        try:
            pages[name] = raw.decode("gbk")
        except UnicodeDecodeError as e:
            problem(f"{name} is not GBK text: {e}")
    return pages


def check_pages(folder):
    load_pages(folder)


def bank_records(data):
    count = i32(data, 0)
    records = []
    for k in range(1, count + 1):
        at = BANK_HEADER + RECORD * k
        records.append(data[at:at + RECORD])
    return count, records


def answer_text(qtype, code):
    if qtype == 3:
        letters = [(2, "A"), (4, "B"), (8, "C"), (16, "D"), (32, "E"), (64, "F"), (128, "G"), (256, "H")]
        return "".join(letter for bit, letter in letters if code & bit)
    return {1: "A", 2: "B", 3: "C", 4: "D", 5: "错", 6: "对"}.get(code, "")


def check_bank(folder, shipped_path, answered):
    """Returns ({id: (record after, record shipped)}, answers the run added)."""
    path = os.path.join(folder, "bankdata", "小车.tk")
    after = read(path)
    shipped = read(shipped_path)
    if len(after) != len(shipped):
        problem(f"bankdata/小车.tk is {len(after)} bytes after the run, the shipped one {len(shipped)}")
        return {}
    count, records = bank_records(after)
    _, old_records = bank_records(shipped)
    if after[:BANK_HEADER] != shipped[:BANK_HEADER]:
        problem("the bank header changed during the run")
    # Only the three counters of a record may change; everything else is
    # written back exactly as it was read.
    tail_at = BANK_HEADER + RECORD * (count + 1)
    if after[tail_at:] != shipped[tail_at:] or after[BANK_HEADER:BANK_HEADER + RECORD] != shipped[BANK_HEADER:BANK_HEADER + RECORD]:
        problem("bytes outside the question records changed in the bank")
    grown = 0
    by_id = {}
    for k, (new, old) in enumerate(zip(records, old_records), start=1):
        rid = i32(new, R_ID)
        by_id[rid] = (new, old)
        if new[:R_RIGHT] != old[:R_RIGHT]:
            problem(f"record {k} (id {rid}) changed outside its counters")
        right, wrong, total = i32(new, R_RIGHT), i32(new, R_WRONG), i32(new, R_COUNT)
        if total != right + wrong:
            problem(f"record {k} (id {rid}): answerCount {total} != rightCount {right} + wrongCount {wrong}")
        delta = total - i32(old, R_COUNT)
        if delta < 0 or i32(new, R_RIGHT) < i32(old, R_RIGHT) or i32(new, R_WRONG) < i32(old, R_WRONG):
            problem(f"record {k} (id {rid}): a counter went down")
        grown += delta
    total_after = sum(i32(r, R_COUNT) for r in records)
    if total_after < answered:
        problem(f"the bank's answerCounts add up to {total_after}, expected at least {answered}")
    return by_id, grown


def check_history(data, by_id, exam, t0, t1):
    slot = data[HISTORY_AT + SLOT_SIZE:HISTORY_AT + 2 * SLOT_SIZE]
    taken = field(slot, 0, 32)
    try:
        taken_text = taken.decode("gbk")
    except UnicodeDecodeError:
        taken_text = ""
        problem(f"takenAt {taken!r} is not GBK")
    m = re.fullmatch(r"(\d{4})年(\d{2})月(\d{2})日(\d{2})点(\d{2})分(\d{2})秒", taken_text)
    if not m:
        problem(f"takenAt {taken_text!r} does not read like 2012年05月06日13点05分22秒")
    else:
        stamp = time.mktime(tuple(int(g) for g in m.groups()) + (0, 0, -1))
        if not (t0 - 2 <= stamp <= t1 + 2):
            problem(f"takenAt {taken_text} lies outside the run ({time.ctime(t0)} .. {time.ctime(t1)})")
    score, items = i32(slot, 32), i32(slot, 36)
    if items != exam:
        problem(f"history entry 1 holds {items} questions, expected {exam}")
        return
    tag = field(slot, 2440, 32)
    if tag != b"TKxiaoche":
        problem(f"history entry 1 has bankTag {tag!r}, expected b'TKxiaoche'")
    right = 0
    ids = []
    for i in range(1, items + 1):
        at = 52 + 12 * (i - 1)
        qid, given, first = i32(slot, at), i32(slot, at + 4), slot[at + 8]
        ids.append(qid)
        if qid not in by_id:
            problem(f"history item {i}: question id {qid} is not in the bank")
            continue
        new, old = by_id[qid]
        qtype, answer = i32(new, R_TYPE), i32(new, R_ANSWER)
        # Every question was answered with the B key and Enter: "错" on a
        # true/false question, B (code 2) on a single-choice one, the box B
        # (bit 4) and "完成" on a multiple-choice one.
        want = {2: 5, 3: 4}.get(qtype, 2)
        if given != want:
            problem(f"history item {i} (id {qid}, type {qtype}): userAnswer {given}, expected {want} from the B key")
        # The exam stores a multiple-choice answer without judging or
        # counting it.
        if qtype != 3 and first != (1 if given == answer else 0):
            problem(f"history item {i} (id {qid}): firstRight {first} with answer {given} against {answer}")
        right += given == answer
        if qtype != 3 and i32(new, R_COUNT) <= i32(old, R_COUNT):
            problem(f"history item {i} (id {qid}): the question's answerCount did not grow")
    if len(set(ids)) != len(ids):
        problem(f"the paper holds a question twice: {ids}")
    if score != right:
        problem(f"history entry 1 has score {score}, {right} of its answers are right")
    if struct.unpack_from("<i", data, HISTORY_AT + 2 * SLOT_SIZE + 36)[0] != 0:
        problem("history slot 2 is in use after one exam")
    return ids


def check_paper_pages(folder, by_id, ids):
    pages = load_pages(folder)
    for name, text in pages.items():
        rows = text.count("<tr>")
        if rows != len(ids):
            problem(f"{name} has {rows} table rows, expected {len(ids)}")
        if 'charset=gb2312' not in text:
            problem(f"{name} does not declare charset=gb2312")
    if "n.htm" in pages:
        blanks = pages["n.htm"].count("答案：___")
        if blanks != len(ids):
            problem(f'n.htm has "答案：___" {blanks} times, expected {len(ids)}')
    if "h.htm" in pages:
        page = pages["h.htm"]
        if "答案：___" in page:
            problem('h.htm shows blanks instead of the answers')
        position = 0
        for i, qid in enumerate(ids, start=1):
            if qid not in by_id:
                continue
            record = by_id[qid][0]
            qtext = field(record, R_TEXT, 1000).decode("gbk").replace("\r\n", "<br>")
            found = page.find(f"{i},{qtext}", position)
            if found < 0:
                problem(f"h.htm lacks question {i} (id {qid}) in paper order")
                continue
            position = found
            want = "答案：" + answer_text(i32(record, R_TYPE), i32(record, R_ANSWER))
            if page.find(want, position) != page.find("答案：", position):
                problem(f"h.htm: question {i} (id {qid}) is not followed by {want}")


def check_final(folder, shipped_bank, t0, t1, beginner, exam):
    data = check_settings(folder, history_count=1)
    # The exam's multiple-choice answers never reach the counters: only the
    # practice answers are sure; the exact sum is checked below.
    checked = check_bank(folder, shipped_bank, beginner)
    if data is None or not checked:
        return
    by_id, grown = checked
    if not by_id:
        return
    ids = check_history(data, by_id, exam, t0, t1)
    if ids:
        check_paper_pages(folder, by_id, ids)
        # Every answered practice entry counts once; in the exam only the
        # single-choice and true/false answers do.
        multi = sum(1 for qid in ids if qid in by_id and i32(by_id[qid][0], R_TYPE) == 3)
        answered = beginner + exam - multi
        if grown != answered:
            problem(f"the run added {grown} answers to the bank's counters, expected {answered} "
                    f"(one per list entry answered, none for the exam's {multi} multiple-choice ones)")


def main(argv):
    phases = {
        "first-start": (check_first_start, 1),
        "settings": (check_settings, 1),
        "handed-in": (check_handed_in, 1),
        "pages": (check_pages, 1),
    }
    if len(argv) >= 3 and argv[1] in phases and len(argv) == 2 + phases[argv[1]][1]:
        phases[argv[1]][0](argv[2])
    elif len(argv) == 8 and argv[1] == "final":
        check_final(argv[2], argv[3], float(argv[4]), float(argv[5]), int(argv[6]), int(argv[7]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for p in problems:
        print(f"  - {p}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
